// The game intro and the ending: a vehicle flown by the game's own race code over a real track, watched by
// trackside cameras, with captions and music.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "contentgen.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "filewriter.h"
#include "race/headless.h"
#include "race/recording.h"
#include "scene/milkshape.h"
#include "scene/transformation.h"
#include "trackscriptwriter.h"

namespace {

constexpr float kFrame = 1.0f / 60.0f;
constexpr float kSampleStep = 0.1f;  // seconds between recorded poses

float Degrees(float radians) { return radians * 180.0f / kPi; }

float Wrap180(float degrees) {
    while (degrees > 180.0f) degrees -= 360.0f;
    while (degrees < -180.0f) degrees += 360.0f;
    return degrees;
}

// Holds a key of the race through its binding, as the player would.
void Press(CGamePhysics& physics, int binding) {
    const KeyBinding& key = gSettings.keys[binding];
    if (key.special) {
        physics.onSpecialKey(key.code, true);
    } else {
        physics.onKey(static_cast<unsigned char>(key.code), true);
    }
}

// A flight over the track, steered with the mouse like a player: full thrust, banking towards `aim` and
// pitching to hold `altitude`. The race logic and flight model are the game's own.
std::vector<RecordingSample> FlyOver(CHeadlessRace& race, const float aim[3], float altitude, float seconds) {
    const float sensitivity = gSettings.mouseSensitivity;
    std::vector<RecordingSample> path;
    Press(race.physics, BINDING_FORWARD);
    for (int frame = 0;; ++frame) {
        const float t = frame * kFrame;
        if (t + 1e-4f >= path.size() * kSampleStep)
            path.push_back(PoseOfCamera(race.camera, path.size() * kSampleStep));
        if (t > seconds) break;
        const CCamera& c = race.camera;
        // The race camera looks along (sin yaw, -sin pitch, -cos yaw); banking turns it at roll * turn.
        const float wanted = Degrees(std::atan2(aim[0] - c.x, -(aim[2] - c.z)));
        const float error = Wrap180(wanted - c.yaw);
        const float turn = race.dynamics.turn > 0.0f ? race.dynamics.turn : 1.0f;
        const float roll = std::clamp(0.7f * error / turn, -race.dynamics.maxTilt, race.dynamics.maxTilt);
        const float pitch = std::clamp((c.y - altitude) * 2.0f, -20.0f, 20.0f);  // positive looks down
        const int dx = static_cast<int>((roll - c.roll) / (sensitivity * 0.07f));
        const int dy = static_cast<int>((pitch - c.pitch) / (sensitivity * 0.15f) * 0.2f);
        if (dx || dy) race.physics.onMouseMove(dx, dy);
        race.Frame(kFrame);
    }
    return path;
}

const RecordingSample& PoseAt(const std::vector<RecordingSample>& path, float t) {
    const size_t i = static_cast<size_t>(std::max(0.0f, t / kSampleStep + 0.5f));
    return path[std::min(i, path.size() - 1)];
}

// Camera yaw that looks from a towards b (the camera looks down -z at yaw 0).
float YawTowards(const float a[3], const RecordingSample& b) { return Degrees(std::atan2(b.x - a[0], -(b.z - a[2]))); }

// A trackside camera: from `from` to `to` it stands at `at` and pans to keep the vehicle in view. A
// zero-sweep orbit first sets its yaw to exactly -180 so no earlier pan error carries over; the pan then
// goes in half-second steps the short way round.
void AddShot(TrackSettings& s, const std::vector<RecordingSample>& path, float from, float to, const float at[3]) {
    AddFromTo(s, from, from, ACTION_CIRCLEY, at[0], at[2], 0.0f);
    AddAt(s, from, ACTION_SETCAMPOSITION, at[0], at[1], at[2]);
    float yaw = -180.0f;
    for (float t = from; t < to - 1e-3f; t += 0.5f) {
        const float end = std::min(t + 0.5f, to);
        const float next = yaw + Wrap180(YawTowards(at, PoseAt(path, end)) - yaw);
        // CHANGECAMHEADING turns the camera by minus its value.
        if (t == from) {
            const float first = yaw + Wrap180(YawTowards(at, PoseAt(path, from)) - yaw);
            AddFromTo(s, from, from, ACTION_CHANGECAMHEADING, -(first - yaw));
            yaw = first;
        }
        AddFromTo(s, t, end, ACTION_CHANGECAMHEADING, -(next - yaw));
        yaw = next;
    }
}

// Cameras along the flight: one waits beside the path ahead of the vehicle, the next chases it from above.
void AddShots(TrackSettings& s, const std::vector<RecordingSample>& path, float length, float shotLength) {
    int n = 0;
    for (float from = 0.0f; from < length - 0.5f; from += shotLength, ++n) {
        const float to = std::min(from + shotLength, length);
        const RecordingSample& p = PoseAt(path, n % 2 == 0 ? to + 0.5f : from - 0.5f);
        const float side = n % 4 < 2 ? 9.0f : -9.0f;
        const float heading = CameraPoseOfVehicle({p.x, p.y, p.z, p.yaw}).yaw * kPi / 180.0f;
        const float at[3] = {p.x + side * std::cos(heading), p.y + (n % 2 == 0 ? 2.0f : 6.0f),
                             p.z + side * std::sin(heading)};
        AddShot(s, path, from, to, at);
    }
}

// The track the sequence is set on: its scenery, sky, light and the start of its race.
bool UseScenery(TrackSettings& s, const char* trackScript) {
    TrackSettings track;
    LoadTrackSettings(trackScript, track);
    if (!track.trackModel[0]) return false;
    snprintf(s.trackModel, sizeof s.trackModel, "%s", track.trackModel);
    snprintf(s.skyModel, sizeof s.skyModel, "%s", track.skyModel);
    if (track.hasSun) AddSun(s, track.sun.position[0], track.sun.position[1], track.sun.position[2]);
    for (int i = 0; i < 3; ++i) s.ambientColor[i] = track.ambientColor[i];
    if (track.fogEnabled) SetFog(s, track.fogColor[0], track.fogColor[1], track.fogColor[2], track.fogDensity);
    for (int i = 0; i < 3; ++i) {
        s.vehicleStartPosition[i] = track.vehicleStartPosition[i];
        s.goalMin[i] = track.goalMin[i];
        s.goalMax[i] = track.goalMax[i];
    }
    s.vehicleStartHeading = track.vehicleStartHeading;
    return true;
}

struct Sequence {
    const char* title;
    const char* script;     // the sequence's own script
    const char* recording;  // its flight
    int track;              // 0 based, the scenery it flies over
    float length;           // seconds until STOP
};

// Flies the sequence's track and writes the recording; fills the vehicle and camera start from it.
bool RecordSequenceFlight(const std::string& root, const Sequence& q, TrackSettings& s, std::vector<RecordingSample>& path) {
    CHeadlessRace race;
    if (!race.Load(q.track, 0)) return false;
    float top = -1e9f;
    for (const MsVertex& v : gTrackModel.vertices) top = std::max(top, v.position[1]);
    const float aim[3] = {(s.goalMin[0] + s.goalMax[0]) * 0.5f, 0.0f, (s.goalMin[2] + s.goalMax[2]) * 0.5f};
    path = FlyOver(race, aim, top + 6.0f, q.length + 1.0f);
    s.hasVehicleScript = true;
    snprintf(s.vehicleScript, sizeof s.vehicleScript, "%s", q.recording);
    const RecordingSample& first = path.front();
    s.vehicleStartPosition[0] = first.x;
    s.vehicleStartPosition[1] = first.y;
    s.vehicleStartPosition[2] = first.z;
    s.vehicleStartHeading = first.yaw;
    s.camStartPosition[0] = first.x;
    s.camStartPosition[1] = first.y + 3.0f;
    s.camStartPosition[2] = first.z;
    s.camStartPitch = -8.0f;  // a little downwards
    const std::string text = FormatRecording(path);
    return WriteBytes(root + "/" + std::string(q.recording).substr(3), std::vector<uint8_t>(text.begin(), text.end()));
}

void AddIntroCaptions(TrackSettings& s) {
    AddCaption(s, 0.5f, ACTION_SHOWTITLE, "ZEPHYRACE", 0.3f, 0.78f, 0.0f);
    const char* const lines[] = {
        "Fly a hovering, thrust-driven racer through 24 tracks",
        "Reach each track's goal zone against the clock",
        "Fast times win gold, silver and bronze cups - and cash",
        "Every collision damages your vehicle: repairs are charged",
        "Spend your winnings on faster vehicles",
        "Win gold on every track to complete the game",
    };
    float t = 3.0f;
    for (const char* line : lines) {
        AddCaption(s, t, ACTION_SHOWTEXT, line, 0.08f, 0.14f, 0.004f);
        t += 5.0f;
    }
}

void AddOutroCaptions(TrackSettings& s) {
    AddCaption(s, 0.5f, ACTION_SHOWTITLE, "CHAMPION", 0.28f, 0.78f, 0.0f);
    AddCaption(s, 3.0f, ACTION_SHOWTEXT, "You have won gold on every track", 0.08f, 0.66f, 0.003f);
    AddCaption(s, 9.0f, ACTION_SHOWTEXT, "Zephyrace is complete - the skies are yours", 0.08f, 0.66f, 0.003f);
    const char* const credits[] = {
        "Zephyrace",        "Design and code",      "the Zephyrace team", "Tracks and scenery",
        "generated here",   "Music and sound",      "synthesised here",  "Thank you for flying",
    };
    float t = 14.0f;
    for (const char* line : credits) {
        AddCaption(s, t, ACTION_ROLLTEXT, line);
        t += 1.6f;
    }
}

bool WriteSequence(const std::string& root, const Sequence& q, void (*captions)(TrackSettings&)) {
    const std::string trackScript = TrackScriptPath(q.track);
    TrackSettings s;
    std::vector<RecordingSample> path;
    // Without a flyable track the sequence still tells its story, over an empty sky.
    if (UseScenery(s, trackScript.c_str()) && RecordSequenceFlight(root, q, s, path)) {
        AddShots(s, path, q.length, 6.0f);
    } else {
        fprintf(stderr, "contentgen: no flight over %s for %s; captions only\n", trackScript.c_str(), q.script);
    }
    SetTitle(s, q.title);
    captions(s);
    AddFromTo(s, q.length - 3.0f, q.length, ACTION_FADEMUSIC);
    AddAt(s, q.length, ACTION_STOP);
    return WriteTrackScript(root + "/" + std::string(q.script).substr(3), s);
}

}  // namespace

bool GenerateSequences(const std::string& treeRoot) {
    // The race code reads the game's files relative to game/bin, as the game does.
    const GameBinFolder folder(treeRoot);
    if (!folder.ok())
        return false;
    const std::string& root = folder.root();
    const GameSettings keep = gSettings;
    gSettings = DefaultSettings();
    gSettings.mouseSensitivity = 1.0f;
    const Sequence intro = {"Zephyrace", "../Scripts/intro.txt", "../Scripts/intro_flight.txt", 0, 34.0f};
    const Sequence outro = {"The end", "../Scripts/outro.txt", "../Scripts/outro_flight.txt", 0, 30.0f};
    const bool ok = WriteSequence(root, intro, AddIntroCaptions) && WriteSequence(root, outro, AddOutroCaptions);
    gSettings = keep;
    return ok;
}
