// The 24 tracks: models, scripts, fly-over recordings, medal times and prizes. Each track is flown by the
// autopilot with its required vehicle on the game's own flight model; that flight sets the medal times, is
// what the fly-over shows and is shipped whole as the course pilot's ghost.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/gamedefs.h"
#include "contentgen.h"
#include "filewriter.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "ms3dwriter.h"
#include "race/autopilot.h"
#include "race/gamephysics.h"
#include "race/vehicle.h"
#include "scene/transformation.h"
#include "trackdesign.h"
#include "trackscriptwriter.h"

namespace {

std::string TrackPath(const char* folder, int index, const char* suffix) {
    char path[96];
    snprintf(path, sizeof(path), "..\\%s\\track%d%s", folder, index + 1, suffix);
    return path;
}

void CopyPath(char* field, const std::string& text) {
    snprintf(field, kPathSize, "%s", text.c_str());
}

// With "Shadows and lighting" off the lamps are gone. On the lamp-lit tracks below, ambient light carries
// more of the picture and the lamps less, by factors measured on the start views (tests/tools/trackview), so
// the lit start view keeps its brightness and the unlit one has more than half of it.
struct LightBalance {
    int track;  // from 1
    float ambient, lamps;
};
constexpr LightBalance kLightBalances[] = {
    {3, 1.51f, 0.70f},  {6, 1.11f, 0.89f},  {7, 1.04f, 0.95f},  {8, 1.35f, 0.75f},  {12, 1.26f, 0.79f},
    {14, 1.09f, 0.90f}, {15, 1.06f, 0.93f}, {17, 1.22f, 0.81f}, {20, 1.61f, 0.67f}, {21, 1.05f, 0.94f},
};

LightBalance BalanceOf(int index) {
    for (const LightBalance& b : kLightBalances)
        if (b.track == index + 1)
            return b;
    return {index + 1, 1.0f, 1.0f};
}

// Everything the script says apart from times, prizes and the fly-over.
void DescribeTrack(int index, const TrackLayout& layout, TrackSettings& s) {
    const TrackDesign& design = DesignOf(index);
    ClearTrackSettings(s);
    SetTitle(s, design.title);
    s.requiredVehicle = design.vehicle;
    const bool sun = design.sun[1] > 0.0f;
    if (sun)
        AddSun(s, design.sun[0], design.sun[1], design.sun[2]);
    const LightBalance balance = BalanceOf(index);
    for (int k = 0; k < 3; k++)
        s.ambientColor[k] = design.ambient[k] * balance.ambient;
    if (design.fog[3] > 0.0f)
        SetFog(s, design.fog[0], design.fog[1], design.fog[2], design.fog[3]);
    for (const PointLamp& lamp : layout.lamps) {
        const float pos[3] = {lamp.pos.x, lamp.pos.y, lamp.pos.z};
        const float dim = balance.lamps;
        const float colour[3] = {lamp.colour.x * dim, lamp.colour.y * dim, lamp.colour.z * dim};
        AddPointLight(s, pos, colour, lamp.range, false);
    }
    CopyPath(s.trackModel, TrackPath("Models", index, ".ms3d"));
    CopyPath(s.skyModel, std::string("..\\Models\\sky_") + design.sky + ".ms3d");
    for (int k = 0; k < 3; k++) {
        s.goalMin[k] = layout.goalMin[k];
        s.goalMax[k] = layout.goalMax[k];
    }
    const Pose vehicle = VehiclePoseOfCamera({layout.start.x, layout.start.y, layout.start.z, layout.startYaw});
    s.vehicleStartPosition[0] = vehicle.x;
    s.vehicleStartPosition[1] = vehicle.y;
    s.vehicleStartPosition[2] = vehicle.z;
    s.vehicleStartHeading = vehicle.yaw;
}

float RoundUp(float seconds, float step) {
    return std::ceil(seconds / step) * step;
}

// The vehicle model's sample for a camera pose of the flight.
RecordingSample VehicleSample(float time, const FlightSample& s) {
    const Pose v = VehiclePoseOfCamera({s.pos[0], s.pos[1], s.pos[2], s.yaw, s.pitch, s.roll});
    return {v.x, v.y, v.z, time, v.yaw, v.pitch, v.roll};
}

// The fly-over: an orbit round the start, the vehicle flying the first seconds of the recorded flight
// with the camera chasing it, then back to the start line.
constexpr float kOrbitEnd = 3.0f;
constexpr float kChaseLength = 6.0f;

bool WriteFlyover(const std::string& root, int index, const AutopilotFlight& flight, TrackSettings& s) {
    const std::string recording = TrackPath("Scripts", index, "_flight.txt");
    const std::string file = root + "/Scripts/track" + std::to_string(index + 1) + "_flight.txt";
    const FlightSample& first = flight.samples.front();
    std::vector<RecordingSample> samples = {VehicleSample(0.0f, first)};
    std::vector<FlightSample> chase;
    for (const FlightSample& sample : flight.samples)
        if (sample.time <= kChaseLength) {
            samples.push_back(VehicleSample(kOrbitEnd + sample.time, sample));
            chase.push_back(sample);
        }
    const float chaseEnd = kOrbitEnd + chase.back().time;
    samples.push_back(VehicleSample(chaseEnd + 0.05f, first));  // back on the start line for the race
    const std::string text = FormatRecording(samples);
    if (!WriteBytes(file, std::vector<uint8_t>(text.begin(), text.end())))
        return false;
    s.hasVehicleScript = true;
    CopyPath(s.vehicleScript, recording);

    // Orbit: the camera circles the start at a distance, 4 units up.
    const float* start = s.vehicleStartPosition;
    s.camStartPosition[0] = start[0] + 14.0f;
    s.camStartPosition[1] = start[1] + 4.0f;
    s.camStartPosition[2] = start[2];
    s.camStartHeading = 0.0f;
    s.camStartPitch = -12.0f;  // looks down a little (the sequence applies -pitch)
    AddFromTo(s, 0.0f, kOrbitEnd, ACTION_CIRCLEY, start[0], start[2], 150.0f);
    float camYaw = 150.0f - 180.0f;  // where the orbit leaves the camera heading
    float camPitch = 12.0f;

    // Chase: the camera follows the recorded flight 0.7 s behind, a little above.
    constexpr float kLag = 0.7f, kStep = 0.2f;
    for (float t = 0.0f; t + kStep <= chase.back().time; t += kStep) {
        const float behind = std::max(0.0f, t - kLag);
        const FlightSample& at = chase[std::min(chase.size() - 1, size_t(behind / 0.1f))];
        const FlightSample& next = chase[std::min(chase.size() - 1, size_t((behind + kStep) / 0.1f))];
        AddAt(s, kOrbitEnd + t, ACTION_SETCAMPOSITION, at.pos[0], at.pos[1] + 2.0f, at.pos[2]);
        const float speed = std::sqrt((next.pos[0] - at.pos[0]) * (next.pos[0] - at.pos[0]) +
                                      (next.pos[1] - at.pos[1]) * (next.pos[1] - at.pos[1]) +
                                      (next.pos[2] - at.pos[2]) * (next.pos[2] - at.pos[2])) / kStep;
        AddAt(s, kOrbitEnd + t, ACTION_SETCAMSPEED, speed);
        // The camera turns by yaw itself; the commands carry the opposite sign.
        AddFromTo(s, kOrbitEnd + t, kOrbitEnd + t + kStep, ACTION_CHANGECAMHEADING, -(next.yaw - camYaw));
        AddFromTo(s, kOrbitEnd + t, kOrbitEnd + t + kStep, ACTION_CHANGECAMPITCH, -(next.pitch + 8.0f - camPitch));
        camYaw = next.yaw;
        camPitch = next.pitch + 8.0f;
    }
    // Back behind the start line, looking along the track, and the countdown begins.
    AddAt(s, chaseEnd, ACTION_SETCAMSPEED, 0.0f);
    AddAt(s, chaseEnd, ACTION_SETCAMPOSITION, first.pos[0], first.pos[1] + 1.5f, first.pos[2]);
    AddFromTo(s, chaseEnd, chaseEnd + 0.1f, ACTION_CHANGECAMHEADING, -(first.yaw - camYaw));
    AddFromTo(s, chaseEnd, chaseEnd + 0.1f, ACTION_CHANGECAMPITCH, -(first.pitch + 6.0f - camPitch));
    AddCaption(s, 0.2f, ACTION_SHOWTITLE, DesignOf(index).title, 0.08f, 0.82f, 0.0f);
    AddCaption(s, 0.6f, ACTION_SHOWTEXT, "Fly into the checkered gate", 0.1f, 0.2f, 0.004f);
    AddAt(s, chaseEnd + 1.2f, ACTION_STOP);
    return true;
}

// The route's points are at least this far apart, in track units.
constexpr float kRouteSpacing = 4.0f;

// The flight's path as a route, a point every kRouteSpacing and its end, for the sector splits to measure.
std::string RouteText(const std::vector<RecordingSample>& samples) {
    std::string text;
    const RecordingSample* kept = nullptr;
    for (const RecordingSample& s : samples) {
        const bool far = !kept || std::sqrt((s.x - kept->x) * (s.x - kept->x) + (s.y - kept->y) * (s.y - kept->y) +
                                            (s.z - kept->z) * (s.z - kept->z)) >= kRouteSpacing;
        if (!far && &s != &samples.back())
            continue;
        char line[96];
        snprintf(line, sizeof line, "POINT %.3f %.3f %.3f\n", double(s.x), double(s.y), double(s.z));
        text += line;
        kept = &s;
    }
    return text;
}

// The whole flight by the race clock, as a best run is saved: the rival a player races before having a
// best run of the track, a little faster than gold; and its path, the route the splits are measured on.
bool WritePilotGhost(const std::string& root, int index, const AutopilotFlight& flight) {
    std::vector<RecordingSample> samples;
    for (const FlightSample& sample : flight.samples)
        samples.push_back(VehicleSample(sample.time, sample));
    const std::string text = FormatRecording(samples);
    const std::string route = RouteText(samples);
    const std::string scripts = root + "/Scripts/track" + std::to_string(index + 1);
    return WriteBytes(scripts + "_pilot.txt", std::vector<uint8_t>(text.begin(), text.end())) &&
           WriteBytes(scripts + "_route.txt", std::vector<uint8_t>(route.begin(), route.end()));
}

}  // namespace

std::vector<TrackPrizes> PrizeTable() {
    // Each vehicle's tracks pay, in silvers, a fifth more than the next vehicle costs, so a player who
    // takes silver everywhere can always buy the next vehicle before its tracks (repairs included).
    std::vector<TrackPrizes> prizes(kNumTracks);
    for (int i = 0; i < kNumTracks; i++) {
        const int v = DesignOf(i).vehicle;
        int tracksOfVehicle = 0;
        for (int k = 0; k < kNumTracks; k++)
            tracksOfVehicle += DesignOf(k).vehicle == v;
        const int nextPrice = v + 1 < kNumVehicles ? gVehicles[v + 1].price : gVehicles[v].price;
        const int silver = int(RoundUp(1.2f * float(nextPrice) / float(tracksOfVehicle), 50.0f));
        prizes[i] = {int(RoundUp(silver * 1.6f, 50.0f)), silver, int(RoundUp(silver * 0.5f, 50.0f))};
    }
    return prizes;
}

bool GenerateTracks(const std::string& treeRoot) {
    // The autopilot races through the game's own loaders, which read from the game's working folder.
    const GameBinFolder folder(treeRoot);
    if (!folder.ok())
        return false;
    const std::string& root = folder.root();
    gSettings = DefaultSettings();
    LoadVehicles(nullptr, nullptr);
    const std::vector<TrackPrizes> prizes = PrizeTable();
    bool ok = true;
    printf("%-3s %-20s %8s %8s %8s %8s %7s\n", "#", "track", "pilot", "gold", "silver", "bronze", "tris");
    for (int i = 0; i < kNumTracks && ok; i++) {
        TrackLayout layout;
        TrackSettings s;
        const std::string modelFile = root + "/Models/track" + std::to_string(i + 1) + ".ms3d";
        const std::string scriptFile = root + "/Scripts/track" + std::to_string(i + 1) + ".txt";
        if (BuildTrack(i, layout)) {
            DescribeTrack(i, layout, s);
            ok = WriteMs3d(modelFile, layout.model) && WriteTrackScript(scriptFile, s);
        } else {
            LoadTrackSettings(TrackScriptPath(i).c_str(), s);
            HandPath(s, layout);
            s.animationCommands.clear();  // its fly-over is made from the flight below, like the others'
        }
        AutopilotFlight flight;
        if (ok && !FlyTrack(i, layout, flight)) {
            fprintf(stderr, "contentgen: the autopilot cannot finish track %d\n", i + 1);
            ok = false;
        }
        if (!ok)
            break;
        // Gold needs a flight close to the autopilot's; silver and bronze leave room for mistakes.
        const float pilot = flight.outcome.time;
        s.goldTime = RoundUp(pilot * 1.08f + 1.0f, 1.0f);
        s.silverTime = RoundUp(s.goldTime * 1.25f, 1.0f);
        s.bronzeTime = RoundUp(s.goldTime * 1.6f, 1.0f);
        s.goldCash = prizes[i].gold;
        s.silverCash = prizes[i].silver;
        s.bronzeCash = prizes[i].bronze;
        ok = WriteFlyover(root, i, flight, s) && WritePilotGhost(root, i, flight) && WriteTrackScript(scriptFile, s);
        printf("%-3d %-20s %8.2f %8.0f %8.0f %8.0f %7zu\n", i + 1, DesignOf(i).title, pilot, s.goldTime, s.silverTime,
               s.bronzeTime, gTrackModel.triangles.size());
    }
    ReleaseVehicles();
    return ok;
}
