#include "race/ghost.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "app/log.h"
#include "app/states.h"
#include "data/profile.h"
#include "data/trackscript.h"
#include "hud/hud.h"
#include "hud/hudtexts.h"
#include "hud/hudtimer.h"
#include "platform/files.h"
#include "race/vehicle.h"
#include "scene/milkshape.h"
#include "scene/rendermodel.h"
#include "scene/transformation.h"

bool gGhostShown = true;
int gGhostChoice = GHOST_BEST;
Ghost gGhost;

namespace {

// A saved best time and the run's last sample are the same float written with six decimals.
constexpr float kSameTime = 0.0005f;
// The run's last pose is the last one drawn before the goal was reached: at most a slow frame away from it.
constexpr float kGoalReach = 20.0f;
// Seconds of the ghost's path searched on either side of the point matched before.
constexpr float kGapWindow = 5.0f;
constexpr float kGhostAlpha = 0.45f;
// Near the eye the ghost fades out, so it does not fill the view while it sits on the start line.
constexpr float kFadeFrom = 1.5f;
constexpr float kFadeOver = 4.0f;

// "../Profiles/<name>.ghosts/track<N><ending>".
std::string TrackFile(const char* profile, int track, const char* ending) {
    return GhostFolder(profile) + "track" + std::to_string(track + 1) + ending;
}

std::string VehiclePath(const char* profile, int track) {
    return TrackFile(profile, track, ".vehicle");
}

// Where the race camera's eye would be on a vehicle at that pose.
Pose EyeOf(const RecordingSample& s) {
    return CameraPoseOfVehicle({s.x, s.y, s.z, s.yaw, s.pitch, s.roll});
}

// How far the race camera at that pose would be from the goal box.
float DistanceToGoal(const RecordingSample& s, const TrackSettings& t) {
    const Pose e = EyeOf(s);
    const float p[3] = {e.x, e.y, e.z};
    float sum = 0.0f;
    for (int i = 0; i < 3; ++i) {
        const float d = std::max({t.goalMin[i] - p[i], 0.0f, p[i] - t.goalMax[i]});
        sum += d * d;
    }
    return std::sqrt(sum);
}

// Why a whole recording is not the profile's best run of the track, or "" when it is.
std::string Refusal(const std::vector<RecordingSample>& run, const char* vehiclePath, int& vehicle, float bestTime,
                    const TrackSettings& settings) {
    std::string text;
    if (!ReadGameFile(vehiclePath, text) || sscanf(text.c_str(), "VEHICLE %d", &vehicle) != 1 || vehicle < 0 ||
        vehicle >= kNumVehicles)
        return "its vehicle file is missing or damaged";
    if (!(std::fabs(run.back().time - bestTime) <= kSameTime)) {
        char detail[128];
        snprintf(detail, sizeof detail, "its time %.3f s is not the profile's best time %.3f s",
                 double(run.back().time), double(bestTime));
        return detail;
    }
    if (!(DistanceToGoal(run.back(), settings) <= kGoalReach))
        return "it does not end at this track's goal";
    return "";
}

// Takes a read recording as the ghost, or logs why the file at path is not flown.
bool Accept(Ghost& ghost, const std::string& path, std::vector<RecordingSample>& samples, int vehicle,
            const std::string& why) {
    if (!why.empty()) {
        Log("Ghost %s ignored: %s", path.c_str(), why.c_str());
        return false;
    }
    ghost.path.samples = std::move(samples);
    ghost.vehicle = vehicle;
    return true;
}

// The course pilot's flight of the track; why says what is wrong when it cannot be flown.
std::vector<RecordingSample> ReadPilot(const std::string& path, std::string& why) {
    std::string text;
    std::vector<RecordingSample> samples;
    if (!ReadGameFile(path.c_str(), text))
        why = "it cannot be read";
    else
        ReadWholeRecording(text.data(), text.size(), samples, why);
    return samples;
}

bool LoadPilotGhost(Ghost& ghost, int track, const TrackSettings& settings) {
    ghost = Ghost();
    const std::string path = PilotGhostPath(track);
    std::string why;
    std::vector<RecordingSample> samples = ReadPilot(path, why);
    const int vehicle = settings.requiredVehicle;
    if (why.empty() && (vehicle < 0 || vehicle >= kNumVehicles))
        why = "its track names no vehicle";
    return Accept(ghost, path, samples, vehicle, why);
}

bool Racing(int state) {
    return state == STATE_RACE || state == STATE_INGAME_MENU || state == STATE_RACE_COMPLETED;
}

bool Shown(const Ghost& ghost, int state) {
    return gGhostShown && !ghost.path.Empty() && Racing(state);
}

}  // namespace

std::string GhostPath(const char* profile, int track) {
    return TrackFile(profile, track, ".txt");
}

std::string PilotGhostPath(int track) {
    return "../Scripts/track" + std::to_string(track + 1) + "_pilot.txt";
}

float PilotGhostTime(int track) {
    std::string why;
    const std::vector<RecordingSample> samples = ReadPilot(PilotGhostPath(track), why);
    return why.empty() ? samples.back().time : 0.0f;
}

int GhostChoiceFor(int choice, bool hasBest) {
    return choice == GHOST_BEST && !hasBest ? GHOST_PILOT : choice;
}

int NextGhostChoice(int choice, bool hasBest) {
    const int next = (GhostChoiceFor(choice, hasBest) + 1) % GHOST_CHOICES;
    return GhostChoiceFor(next, hasBest);
}

bool HasBestRun(const char* profile, int track, float bestTime) {
    std::error_code ec;
    return bestTime > 0.0f && IsSafeProfileName(profile) &&
           std::filesystem::is_regular_file(GamePath(GhostPath(profile, track).c_str()), ec);
}

bool LoadChosenGhost(Ghost& ghost, const char* profile, int track, float bestTime, const TrackSettings& settings) {
    ghost = Ghost();
    const int choice = GhostChoiceFor(gGhostChoice, HasBestRun(profile, track, bestTime));
    if (choice == GHOST_BEST && LoadGhost(ghost, profile, track, bestTime, settings))
        return true;
    return choice != GHOST_NONE && LoadPilotGhost(ghost, track, settings);
}

bool LoadGhost(Ghost& ghost, const char* profile, int track, float bestTime, const TrackSettings& settings) {
    ghost = Ghost();
    if (!IsSafeProfileName(profile))
        return false;
    const std::string path = GhostPath(profile, track);
    std::string text;
    if (!ReadGameFile(path.c_str(), text))
        return false;  // no best run saved yet
    std::vector<RecordingSample> samples;
    int vehicle = 0;
    std::string why;
    if (ReadWholeRecording(text.data(), text.size(), samples, why))
        why = Refusal(samples, VehiclePath(profile, track).c_str(), vehicle, bestTime, settings);
    return Accept(ghost, path, samples, vehicle, why);
}

void RecordRun(std::vector<RecordingSample>& run, const RecordingSample& pose) {
    if (!run.empty()) {
        const RecordingSample last = run.back();
        if (!(pose.time > last.time))
            return;
        const int steps = int(std::ceil((pose.time - last.time) / kGhostSampleStep));
        for (int k = 1; k < steps; ++k)
            run.push_back(Interpolate(last, pose, last.time + (pose.time - last.time) * float(k) / float(steps)));
    }
    run.push_back(pose);
}

std::vector<RecordingSample> FinishedRun(const std::vector<RecordingSample>& run, float raceTime) {
    std::vector<RecordingSample> finished = run;
    if (!finished.empty() && finished.back().time < raceTime) {
        RecordingSample end = finished.back();
        end.time = raceTime;
        finished.push_back(end);
    }
    return finished;
}

bool SaveGhost(const Ghost& ghost, const char* profile, int track, int vehicle, float raceTime) {
    if (ghost.run.empty() || !IsSafeProfileName(profile))
        return false;
    const std::vector<RecordingSample> run = FinishedRun(ghost.run, raceTime);
    const std::string path = GhostPath(profile, track);
    std::error_code ec;
    std::filesystem::create_directories(GamePath(GhostFolder(profile).c_str()), ec);
    const std::string text = FormatRecording(run);
    if (text.size() > kMaxGameFileSize) {
        Log("The run is too long to save as a ghost (%zu bytes)", text.size());
        return false;
    }
    const std::string vehicleLine = "VEHICLE " + std::to_string(vehicle) + "\n";
    if (!WriteFileAtomically(path.c_str(), text) ||
        !WriteFileAtomically(VehiclePath(profile, track).c_str(), vehicleLine)) {
        Log("Failed to save the ghost %s", path.c_str());
        return false;
    }
    return true;
}

float NearestOnPath(const std::vector<RecordingSample>& path, float near, float window, const float p0[3],
                    float& distance2) {
    distance2 = std::numeric_limits<float>::max();
    float time = near;
    const size_t n = path.size();
    for (size_t i = 0; n > 0 && (i + 1 < n || i == 0); ++i) {
        const RecordingSample& a = path[i];
        const RecordingSample& b = path[std::min(i + 1, n - 1)];
        if (b.time < near - window)
            continue;
        if (a.time > near + window)
            break;
        const float d[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
        const float p[3] = {p0[0] - a.x, p0[1] - a.y, p0[2] - a.z};
        const float length2 = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
        const float along = length2 > 0.0f ? (p[0] * d[0] + p[1] * d[1] + p[2] * d[2]) / length2 : 0.0f;
        const float u = std::clamp(along, 0.0f, 1.0f);
        const float e[3] = {p[0] - u * d[0], p[1] - u * d[1], p[2] - u * d[2]};
        const float d2 = e[0] * e[0] + e[1] * e[1] + e[2] * e[2];
        if (d2 < distance2) {
            distance2 = d2;
            time = a.time + u * (b.time - a.time);
        }
    }
    return time;
}

float GhostGap(Ghost& ghost, const RecordingSample& player) {
    if (ghost.path.Empty())
        return 0.0f;
    const float p[3] = {player.x, player.y, player.z};
    float distance2 = 0.0f;
    ghost.matched = NearestOnPath(ghost.path.samples, ghost.matched, kGapWindow, p, distance2);
    return player.time - ghost.matched;
}

void FollowGhost(Ghost& ghost, int state, float raceTime, const CCamera& camera) {
    const RecordingSample player = PoseOfCamera(camera, raceTime);
    if (state == STATE_RACE)
        RecordRun(ghost.run, player);
    gHudGapText[0] = '\0';
    if (Shown(ghost, state))
        snprintf(gHudGapText, sizeof gHudGapText, "%+.2f",
                 double(std::clamp(GhostGap(ghost, player), -kLongestHudGap, kLongestHudGap)));
}

void DrawGhost(Ghost& ghost, int state, const CCamera& camera) {
    if (!Shown(ghost, state))
        return;
    const RenderModel* render = gVehicles[ghost.vehicle].renderObject;
    if (!render)
        return;
    const RecordingSample s = ghost.path.Sample(RaceSeconds());
    const Pose e = EyeOf(s);
    const float eye[3] = {e.x - camera.x, e.y - camera.y, e.z - camera.z};
    const float alpha = kGhostAlpha * std::clamp((Length(eye) - kFadeFrom) / kFadeOver, 0.0f, 1.0f);
    if (alpha <= 0.0f)
        return;
    CTransformation pose;
    pose.SetPosition(s.x, s.y, s.z);
    pose.SetYaw(s.yaw);
    pose.SetPitch(s.pitch);
    pose.SetRoll(s.roll);
    glPushMatrix();
    pose.Apply();
    glBindBuffer(GL_ARRAY_BUFFER, render->vertexBuffer);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, render->normalBuffer);
    glNormalPointer(GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, render->texCoordBuffer);
    glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    // One pass over every group, front faces only, blended by the colour's alpha (the colour material
    // carries it into the lit colour) and writing no depth, so the world shows through.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glColor4f(0.75f, 0.9f, 1.0f, alpha);
    const CMilkshapeModel& model = *render->model;
    for (size_t g = 0; g < model.groups.size() && g < render->groupRuns.size(); ++g) {
        if (const MsMaterial* m = model.MaterialOf(model.groups[g]))
            ApplyMaterial(*m, GL_FRONT);
        glDrawArrays(GL_TRIANGLES, GLint(render->groupRuns[g].first), GLsizei(render->groupRuns[g].count));
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPopMatrix();
}
