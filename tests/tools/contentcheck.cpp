// Loads every file the generator wrote through the game's own loaders. Run from the game's bin folder;
// every loader problem lands in log.txt, and a line added to it while checking counts as a problem. Also
// checks that every referenced file exists, that the economy lets a silver-winning player buy each vehicle in
// time, and probes every track: closure, the course pilot's time, thrust alone, restless and climbing pilots.
// (The sounds load in every game the e2e tests start, whose logs they check; the HUD face is test_startup's.)
// With "pilots FIRST COUNT" it only flies restless pilots FIRST .. FIRST + COUNT - 1 on every track.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/settings.h"
#include "data/trackscript.h"
#include "hud/hudscript.h"
#include "platform/files.h"
#include "platform/imagedecode.h"
#include "race/autopilot.h"
#include "race/ghost.h"
#include "race/headless.h"
#include "race/recording.h"
#include "race/vehicle.h"
#include "scene/milkshape.h"
#include "scene/sgiimage.h"
#include "scene/transformation.h"
#include "closure.h"
#include "trackpath.h"
#include "random.h"

namespace {

int gProblems = 0;

void Problem(const std::string& what) {
    fprintf(stderr, "content: %s\n", what.c_str());
    gProblems++;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(GamePath(path.c_str()), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A texture (JPEG, BMP) or a flare's bitmap (.bw) decodes.
void CheckPicture(const std::string& path) {
    const std::string bytes = ReadAll(path);
    const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const char* error = "empty file";
    DecodedImage image;
    BwImage bw;
    const bool bwFile = path.size() > 3 && path.compare(path.size() - 3, 3, ".bw") == 0;
    if (bytes.empty() || !(bwFile ? ReadBwImage(data, bytes.size(), bw, error)
                                  : DecodeImage(data, bytes.size(), image, error)))
        Problem("picture " + path + " does not decode: " + error);
}

void CheckModel(const std::string& path) {
    CMilkshapeModel model;
    if (!model.Load(path.c_str()) || model.triangles.empty())
        Problem("model " + path + " does not load or has no triangles");
    for (const MsMaterial& m : model.materials)
        if (m.texture[0] != '\0')
            CheckPicture(m.texture);
}

// The script loads (a missing one is logged), and so do its models and recording; returns its settings.
TrackSettings CheckScript(const std::string& path) {
    TrackSettings s;
    LoadTrackSettings(path.c_str(), s);
    CheckModel(s.trackModel);
    if (s.skyModel[0] != '\0')
        CheckModel(s.skyModel);
    if (s.hasVehicleScript) {
        VehicleRecording r;
        if (!r.Load(s.vehicleScript) || r.Empty())
            Problem(path + ": recording " + s.vehicleScript + " is empty or missing");
    }
    return s;
}

// A player who takes silver on every track of the vehicles they own, paying a tenth of each prize in
// repairs, must be able to buy each next vehicle before the tracks that need it. (That gold on every track
// completes the game is the results' own rule, tested with them.)
void CheckEconomy(const std::vector<TrackSettings>& tracks) {
    int cash = 0;
    for (int v = 0; v < kNumVehicles; v++) {
        if (v > 0) {
            if (cash < gVehicles[v].price)
                Problem("silver everywhere gives $" + std::to_string(cash) + " but vehicle " + std::to_string(v + 1) +
                        " costs $" + std::to_string(gVehicles[v].price));
            cash -= gVehicles[v].price;
        }
        for (const TrackSettings& t : tracks)
            if (t.requiredVehicle == v)
                cash += t.silverCash - t.silverCash / 10;
    }
}

constexpr float kFrame = 1.0f / 60.0f;
constexpr float kProbeTime = 120.0f;
// Restless pilot k of track i flies seed kPilotSeeds + 1000 i + k. Every check flies the first
// kRandomProbes of each track; scripts/pilot_campaign.sh flies 200.
constexpr unsigned kPilotSeeds = 500000;
constexpr int kRandomProbes = 25;

BoundingBox BoxOf(const CMilkshapeModel& model) {
    BoundingBox box;
    for (const MsVertex& v : model.vertices)
        box.AddPoint(v.position[0], v.position[1], v.position[2]);
    return box;
}

bool Holds(const BoundingBox& box, const float p[3]) { return box.Contains(p[0], p[1], p[2]); }

// A restless pilot: thrust held, and every fraction of a second a random key pressed or let go or a jerk of
// the mouse, for steering, pitch and turn.
std::vector<RaceInput> RandomInputs(unsigned seed) {
    Random rng(seed);
    std::vector<RaceInput> inputs = {{0.0f, false, BINDING_FORWARD, true}};
    for (float t = rng.Range(0.1f, 1.0f); t < kProbeTime; t += rng.Range(0.1f, 1.2f)) {
        if (rng.Unit() < 0.5f) {
            inputs.push_back({t, true, 0, false, int(rng.Range(-60.0f, 60.0f)), int(rng.Range(-60.0f, 60.0f))});
        } else {
            const bool down = rng.Unit() < 0.6f;  // drawn before the key, as the seeds' pilots have always been
            inputs.push_back({t, false, BINDING_LEFT + int(rng.Unit() * 4.0f), down});
        }
    }
    return inputs;
}

// Track i is closed: the flood from its start never leaks. Restless pilots first .. first + count - 1 stay
// within the model's box and the flood's cubes (the closure's premise); prints how many left.
void FlyPilots(int i, const TrackSettings& s, int first, int count) {
    const std::string track = "track " + std::to_string(i + 1);
    CHeadlessRace race;
    if (!race.Load(i, s.requiredVehicle)) {
        Problem(track + " does not load");
        return;
    }
    const BoundingBox box = BoxOf(gTrackModel);
    ClosureFlood flood(*race.physics.collisionWorld, box.min, box.max);
    const float start[3] = {race.camera.x, race.camera.y, race.camera.z};
    const ClosureResult closure = flood.Fill(start);
    if (!closure.startClear || !closure.closed)
        Problem(track + ": the start touches a surface, or the flood from it leaks beyond the model's box");
    int left = 0;
    for (int k = first; k < first + count; k++) {
        race.Load(i, s.requiredVehicle);
        race.Start(RandomInputs(kPilotSeeds + unsigned(1000 * i + k)));
        HeadlessOutcome o = race.Outcome();
        const auto inside = [&] { return Holds(box, o.position) && flood.Reached(o.position); };
        while (!o.finished && !o.paused && o.time < kProbeTime && inside()) {
            race.Frame(kFrame);
            o = race.Outcome();
        }
        if (!inside()) {
            left++;
            Problem(track + ": random pilot " + std::to_string(k) + " left after " + std::to_string(o.time) + " s");
        }
    }
    printf("track %d: %d of %d random pilots left\n", i + 1, left, count);
}

// Up above the walls' rocks and arches, straight over to the goal, and down into it: the way a cheat would
// take. (Climbing higher first would only leave the autopilot pressing at a roof short of its next point.)
std::vector<AutopilotPoint> ClimbRoute(const TrackSettings& s, const BoundingBox& box) {
    const Vec3 start{s.vehicleStartPosition[0], s.vehicleStartPosition[1] + 1.0f, s.vehicleStartPosition[2]};
    const Vec3 goal{(s.goalMin[0] + s.goalMax[0]) * 0.5f, std::max(s.goalMin[1], start.y) + 2.0f,
                    (s.goalMin[2] + s.goalMax[2]) * 0.5f};
    const float top = std::min(box.max[1] - 3.0f, start.y + 20.0f);
    const Vec3 corners[4] = {start, {start.x, top, start.z}, {goal.x, top, goal.z}, goal};
    std::vector<AutopilotPoint> route;
    for (int leg = 0; leg < 3; leg++) {
        const int steps = int(Len(corners[leg + 1] - corners[leg]) / 3.0f) + 1;
        for (int k = 0; k < steps; k++) {
            const Vec3 p = Lerp(corners[leg], corners[leg + 1], float(k) / float(steps));
            route.push_back({{p.x, p.y, p.z}});
        }
    }
    route.push_back({{goal.x, goal.y, goal.z}});
    return route;
}

// Every track needs a pilot and holds them. The course pilot's ghost, the autopilot's flight that set the
// medal times, is within gold and not much faster, so gold is within a good player's reach; thrust alone
// never finishes within bronze; the track is closed and restless pilots stay in it; and climbing over
// everything straight at the goal is never faster than gold.
void CheckTrack(int i, const TrackSettings& s) {
    const std::string track = "track " + std::to_string(i + 1);
    const float pilot = PilotGhostTime(i);
    if (!(pilot > 0 && pilot <= s.goldTime && s.goldTime < 1.25f * pilot))
        Problem(track + ": the course pilot's ghost (" + std::to_string(pilot) + " s) and gold disagree");
    FlyPilots(i, s, 0, kRandomProbes);
    CHeadlessRace race;
    race.Load(i, s.requiredVehicle);
    const BoundingBox box = BoxOf(gTrackModel);
    if (race.Run({{0.0f, false, BINDING_FORWARD, true}}, kFrame, s.bronzeTime).finished)
        Problem(track + ": thrust alone finishes within bronze");
    race.Load(i, s.requiredVehicle);
    const AutopilotFlight climb = FlyRoute(race, ClimbRoute(s, box), AutopilotTuning(), kFrame, s.goldTime, 0.1f);
    const auto out = [&box](const FlightSample& f) { return !Holds(box, f.pos); };
    if (std::any_of(climb.samples.begin(), climb.samples.end(), out))
        Problem(track + ": the climbing pilot left the track");
    if (climb.outcome.finished)
        Problem(track + ": climbing straight at the goal finishes within gold");
}

// The box the chase view and the fly-overs are framed for, nose towards -z, with a rounding's slack. (Each
// vehicle's own box is the generator's table, which FitToBox meets exactly: a unit test of the mesh builder.)
const BoundingBox kFrameBox = {{-1.2001f, -0.0001f, -1.9001f}, {1.2001f, 1.1001f, 1.1001f}};

// A vehicle stays in the frame's box and light enough for the frame, and has a glowing exhaust. (Its textures are
// checked with every model in the folder.)
void CheckVehicleModel(int i, const CMilkshapeModel& model) {
    const std::string name = "vehicle " + std::to_string(i + 1);
    const BoundingBox box = BoxOf(model);
    if (!Holds(kFrameBox, box.min) || !Holds(kFrameBox, box.max))
        Problem(name + "'s model reaches out of the chase view's box");
    if (model.triangles.size() > 2000)
        Problem(name + " has " + std::to_string(model.triangles.size()) + " triangles, more than 2000");
    bool glows = false;
    for (const MsMaterial& m : model.materials)
        glows = glows || m.emissive[0] + m.emissive[1] + m.emissive[2] > 1.0f;
    if (!glows)
        Problem(name + " has no glowing material");
}

// The relative luminance of a colour on the screen (sRGB components 0..1).
float Luminance(const float c[3]) {
    float linear[3];
    for (int k = 0; k < 3; k++)
        linear[k] = c[k] <= 0.04045f ? c[k] / 12.92f : std::pow((c[k] + 0.055f) / 1.055f, 2.4f);
    return 0.2126f * linear[0] + 0.7152f * linear[1] + 0.0722f * linear[2];
}

// Every HUD loads without a complaint and its shapes name vertices it has. (That it has its instruments, on
// its panels, is a unit test of the generator's HUD texts.)
void CheckHud(const std::string& path) {
    FILE* f = OpenGameFile(path.c_str(), "r");
    if (!f) {
        Problem("HUD script " + path + " is missing");
        return;
    }
    HudLayout layout;
    ReadHudScript(f, 1024.0f, 768.0f, layout);
    fclose(f);
    const auto bad = [&layout](int v) { return v < 0 || v >= int(layout.vertices.size()); };
    bool beyond = false;
    for (const HudTriangle& t : layout.triangles)
        beyond = beyond || bad(t.i0) || bad(t.i1) || bad(t.i2);
    for (const HudLine& l : layout.lines)
        beyond = beyond || bad(l.i0) || bad(l.i1);
    if (beyond) {
        Problem("HUD script " + path + " has a shape beyond its vertices");
        return;
    }
    // The pale instrument texts must read even over a white sky: where each text begins, the panels under
    // it, blended over white, contrast with the text at least 4.5 to 1.
    for (const auto& instrument : layout.instruments) {
        if (!instrument || instrument->type == HUD_ATTITUDE)
            continue;
        const float p[2] = {instrument->x + 2.0f, instrument->y + 2.0f};
        float backdrop[3] = {1.0f, 1.0f, 1.0f};
        const auto side = [&](int from, int to) {  // which side of the edge p lies on
            const HudVertex& u = layout.vertices[size_t(from)];
            const HudVertex& v = layout.vertices[size_t(to)];
            return (v.x - u.x) * (p[1] - u.y) - (v.y - u.y) * (p[0] - u.x);
        };
        for (const HudTriangle& t : layout.triangles) {
            const float s0 = side(t.i0, t.i1), s1 = side(t.i1, t.i2), s2 = side(t.i2, t.i0);
            if ((s0 < 0 || s1 < 0 || s2 < 0) && (s0 > 0 || s1 > 0 || s2 > 0))
                continue;
            const float colour[3] = {t.red, t.green, t.blue};
            for (int k = 0; k < 3; k++)
                backdrop[k] = t.alpha * colour[k] + (1.0f - t.alpha) * backdrop[k];
        }
        const float text[3] = {0.7f, 0.7f, 1.0f};
        const float contrast = (Luminance(text) + 0.05f) / (Luminance(backdrop) + 0.05f);
        if (contrast < 4.5f)
            Problem("HUD script " + path + ": instrument " + std::to_string(instrument->type) +
                    " reads at only " + std::to_string(contrast) + " to 1 over a white sky");
    }
}

// The files the game names in its code are there, and whatever else lies in the content folders loads too:
// nothing shipped is left unchecked (the cards' looks are test_track_views').
void CheckFolders() {
    std::vector<std::string> named = {"../Models/trophy.ms3d", "..\\Models\\mainmenu.ms3d", "../nimbrellogo.avi",
                                      "../Textures/splash.bmp", "../Textures/men_logo.jpg",
                                      "../Textures/sky_desert_south.jpg", "../Textures/doompanel.jpg",
                                      "../Textures/lockandchain.bmp", "../Textures/trophy_gold.jpg",
                                      "../Textures/trophy_silver.jpg", "../Textures/trophy_bronze.jpg"};
    for (int i = 0; i <= 9; i++)
        named.push_back("..\\Textures\\Shine" + std::to_string(i) + ".bw");
    for (int i = 1; i <= 6; i++)
        named.push_back("..\\Textures\\Flare" + std::to_string(i) + ".bw");
    for (int i = 1; i <= kNumTracks; i++)
        named.push_back("../Textures/track" + std::to_string(i) + ".jpg");
    for (const std::string& path : named)
        if (!std::filesystem::exists(GamePath(path.c_str())))
            Problem(path + " is missing");
    for (const std::string& name : ListFiles("../Models", ".ms3d"))
        CheckModel("../Models/" + name);
    for (const char* suffix : {".jpg", ".bmp", ".bw"})
        for (const std::string& name : ListFiles("../Textures", suffix))
            CheckPicture("../Textures/" + name);
}

}  // namespace

int main(int argc, char** argv) {
    const size_t logBefore = ReadAll("log.txt").size();
    gSettings = DefaultSettings();
    std::vector<TrackSettings> tracks;
    for (int i = 0; i < kNumTracks; i++)
        tracks.push_back(CheckScript(TrackScriptPath(i)));
    if (argc == 4 && std::string(argv[1]) == "pilots") {
        for (int i = 0; i < kNumTracks; i++)
            FlyPilots(i, tracks[i], atoi(argv[2]), atoi(argv[3]));
    } else {
        CheckScript("../Scripts/intro.txt");
        CheckScript("../Scripts/outro.txt");
        LoadVehicles(nullptr, nullptr);
        for (int i = 0; i < kNumVehicles; i++) {
            if (!gVehicles[i].model || gVehicles[i].model->triangles.empty())
                Problem("vehicle " + std::to_string(i + 1) + " has no model");
            else
                CheckVehicleModel(i, *gVehicles[i].model);
        }
        CheckEconomy(tracks);
        for (int i = 0; i < kNumTracks; i++)
            CheckTrack(i, tracks[i]);
        ReleaseVehicles();
        CheckFolders();
        for (int i = 1; i <= kNumVehicles; i++)
            CheckHud("../Scripts/hud" + std::to_string(i) + ".txt");
    }
    const std::string log = ReadAll("log.txt");
    if (log.size() > logBefore)
        Problem("the loaders logged:\n" + log.substr(logBefore));
    return gProblems == 0 ? 0 : 1;
}
