// Loads every file the generator wrote through the game's own loaders. Run from the game's bin folder;
// every loader problem lands in log.txt, and a line added to it while checking counts as a problem. Also
// checks that every referenced file exists and that the economy lets a silver-winning player buy each
// vehicle in time. Prints the table of the tracks: autopilot time, medal times, triangles. (The sounds load
// in every game the e2e tests start, whose logs they check; the HUD face is test_startup's LOADING.)
// With "pilots FIRST COUNT" it only flies restless pilots FIRST .. FIRST + COUNT - 1 on every track.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "data/settings.h"
#include "data/trackscript.h"
#include "hud/hudscript.h"
#include "platform/files.h"
#include "platform/imagedecode.h"
#include "race/autopilot.h"
#include "race/gamephysics.h"
#include "race/ghost.h"
#include "race/headless.h"
#include "race/raceflow.h"
#include "race/recording.h"
#include "race/vehicle.h"
#include "scene/milkshape.h"
#include "scene/sgiimage.h"
#include "closure.h"
#include "random.h"
#include "trackdesign.h"

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

std::string TrackName(int i) { return "track " + std::to_string(i + 1); }

bool Exists(const std::string& path) {
    return std::filesystem::exists(GamePath(path.c_str()));
}

std::set<std::string> gPicturesChecked;

// A texture (JPEG, BMP) or a flare's bitmap (.bw) decodes; each file is read once.
void CheckPicture(const std::string& path) {
    if (!gPicturesChecked.insert(GamePath(path.c_str())).second)
        return;
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
    if (!model.Load(path.c_str())) {
        Problem("model " + path + " does not load");
        return;
    }
    if (model.triangles.empty())
        Problem("model " + path + " has no triangles");
    for (const MsMaterial& m : model.materials)
        if (m.texture[0] != '\0')
            CheckPicture(m.texture);
}

void CheckScript(const std::string& path, bool isTrack) {
    if (!Exists(path)) {
        Problem("script " + path + " is missing");
        return;
    }
    TrackSettings s;
    LoadTrackSettings(path.c_str(), s);
    if (s.trackModel[0] == '\0')
        Problem(path + " names no track model");
    else
        CheckModel(s.trackModel);
    if (s.skyModel[0] != '\0')
        CheckModel(s.skyModel);
    if (s.hasVehicleScript) {
        VehicleRecording r;
        if (!r.Load(s.vehicleScript) || r.Empty())
            Problem(path + ": recording " + s.vehicleScript + " is empty or missing");
    }
    if (!isTrack)
        return;
    if (!(s.goldTime > 0 && s.goldTime < s.silverTime && s.silverTime < s.bronzeTime))
        Problem(path + ": medal times are not increasing");
    if (!(s.goldCash > s.silverCash && s.silverCash > s.bronzeCash && s.bronzeCash > 0))
        Problem(path + ": prizes are not decreasing");
    if (s.requiredVehicle < 0 || s.requiredVehicle >= kNumVehicles)
        Problem(path + ": required vehicle out of range");
    for (int k = 0; k < 3; k++)
        if (!(s.goalMin[k] < s.goalMax[k]))
            Problem(path + ": empty goal zone");
}

// A player who takes silver on every track of the vehicles they own, paying a tenth of each prize in
// repairs, must be able to buy each next vehicle before the tracks that need it. (That gold on every track
// completes the game is the results' own rule, tested with them.)
void CheckEconomy() {
    std::vector<TrackSettings> tracks(kNumTracks);
    for (int i = 0; i < kNumTracks; i++)
        LoadTrackSettings(TrackScriptPath(i).c_str(), tracks[i]);
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

struct ModelBox {
    float lo[3], hi[3];
    bool Holds(const float p[3], float slack = 0.0f) const {
        for (int k = 0; k < 3; k++)
            if (!(p[k] >= lo[k] - slack && p[k] <= hi[k] + slack))
                return false;
        return true;
    }
};

ModelBox BoxOf(const CMilkshapeModel& model) {
    ModelBox box{{1e9f, 1e9f, 1e9f}, {-1e9f, -1e9f, -1e9f}};
    for (const MsVertex& v : model.vertices)
        for (int k = 0; k < 3; k++) {
            box.lo[k] = std::min(box.lo[k], v.position[k]);
            box.hi[k] = std::max(box.hi[k], v.position[k]);
        }
    return box;
}

RaceInput Key(float time, int binding, bool down) {
    RaceInput e;
    e.time = time, e.binding = binding, e.down = down;
    return e;
}

// A restless pilot: thrust held, and every fraction of a second a random key pressed or let go or a jerk of
// the mouse, for steering, pitch and turn.
std::vector<RaceInput> RandomInputs(unsigned seed) {
    Random rng(seed);
    std::vector<RaceInput> inputs = {Key(0.0f, BINDING_FORWARD, true)};
    for (float t = rng.Range(0.1f, 1.0f); t < kProbeTime; t += rng.Range(0.1f, 1.2f)) {
        if (rng.Unit() < 0.5f) {
            RaceInput e;
            e.time = t, e.isMouse = true;
            e.dx = int(rng.Range(-60.0f, 60.0f)), e.dy = int(rng.Range(-60.0f, 60.0f));
            inputs.push_back(e);
        } else {
            inputs.push_back(Key(t, BINDING_LEFT + int(rng.Unit() * 4.0f), rng.Unit() < 0.6f));
        }
    }
    return inputs;
}

// The flood of track i (loaded in race) from its start; counts a problem when it is not closed.
std::unique_ptr<ClosureFlood> FloodTrack(CHeadlessRace& race, int i, const ModelBox& box) {
    auto flood = std::make_unique<ClosureFlood>(*race.physics.collisionWorld, box.lo, box.hi);
    const float start[3] = {race.camera.x, race.camera.y, race.camera.z};
    const ClosureResult result = flood->Fill(start);
    const std::string track = TrackName(i);
    if (!result.startClear)
        Problem(track + ": the start touches a surface");
    if (!result.closed)
        Problem(track + ": not closed: from the start, the flood reaches more than 2 units beyond the model's box");
    return flood;
}

// Flies restless pilots first .. first + count - 1 of track i (loaded in race) and counts a problem for each
// that leaves the model's box or the flood's cubes (the closure's premise); returns how many left.
int FlyRandomPilots(CHeadlessRace& race, int i, const ModelBox& box, ClosureFlood& flood, int first, int count) {
    int left = 0;
    for (int k = first; k < first + count; k++) {
        race.Load(i, DesignOf(i).vehicle);
        race.Start(RandomInputs(kPilotSeeds + unsigned(1000 * i + k)));
        HeadlessOutcome o = race.Outcome();
        const auto inside = [&] { return box.Holds(o.position) && flood.Reached(o.position); };
        while (!o.finished && !o.paused && o.time < kProbeTime && inside()) {
            race.Frame(kFrame);
            o = race.Outcome();
        }
        if (inside())
            continue;
        left++;
        Problem(TrackName(i) + ": random pilot " + std::to_string(k) + " left the track at " +
                std::to_string(o.position[0]) + " " + std::to_string(o.position[1]) + " " +
                std::to_string(o.position[2]) + " after " + std::to_string(o.time) + " s");
    }
    return left;
}

// The campaign: pilots first .. first + count - 1 on every track, and a line a track of how many left.
void FlyCampaign(int first, int count) {
    LoadVehicles(nullptr, nullptr);
    for (int i = 0; i < kNumTracks; i++) {
        CHeadlessRace race;
        if (!race.Load(i, DesignOf(i).vehicle)) {
            Problem(TrackName(i) + " does not load for the pilots");
            continue;
        }
        const ModelBox box = BoxOf(gTrackModel);
        const int left = FlyRandomPilots(race, i, box, *FloodTrack(race, i, box), first, count);
        printf("track %d: %d of %d random pilots left\n", i + 1, left, count);
        fflush(stdout);
    }
    ReleaseVehicles();
}

// Up above the walls' rocks and arches, straight over to the goal, and down into it: the way a cheat would
// take. (Climbing higher first would only leave the autopilot pressing at a roof short of its next point.)
std::vector<AutopilotPoint> ClimbRoute(const TrackSettings& s, const ModelBox& box) {
    const Vec3 start{s.vehicleStartPosition[0], s.vehicleStartPosition[1] + 1.0f, s.vehicleStartPosition[2]};
    const Vec3 goal{(s.goalMin[0] + s.goalMax[0]) * 0.5f, std::max(s.goalMin[1], start.y) + 2.0f,
                    (s.goalMin[2] + s.goalMax[2]) * 0.5f};
    const float top = std::min(box.hi[1] - 3.0f, start.y + 20.0f);
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

// Every track needs a pilot and holds them: thrust alone never finishes within bronze, the flood from the
// start proves no vehicle can leave and restless pilots stay within it, and climbing over everything
// straight at the goal is never faster than gold.
void CheckProbes(int i, const TrackSettings& s) {
    const std::string track = TrackName(i);
    const int vehicle = DesignOf(i).vehicle;
    CHeadlessRace race;
    if (!race.Load(i, vehicle)) {
        Problem(track + " does not load for the probes");
        return;
    }
    const ModelBox box = BoxOf(gTrackModel);
    const std::unique_ptr<ClosureFlood> flood = FloodTrack(race, i, box);
    HeadlessOutcome o = race.Run({Key(0.0f, BINDING_FORWARD, true)}, kFrame, s.bronzeTime);
    if (o.finished)
        Problem(track + ": thrust alone finishes in " + std::to_string(o.time) + " s, within bronze");
    FlyRandomPilots(race, i, box, *flood, 0, kRandomProbes);
    race.Load(i, vehicle);
    const AutopilotFlight climb = FlyRoute(race, ClimbRoute(s, box), AutopilotTuning(), kFrame, s.goldTime, 0.1f);
    for (const FlightSample& sample : climb.samples)
        if (!box.Holds(sample.pos)) {
            Problem(track + ": the climbing pilot left the track after " + std::to_string(sample.time) + " s");
            break;
        }
    if (climb.outcome.finished)
        Problem(track + ": climbing straight at the goal finishes in " + std::to_string(climb.outcome.time) +
                " s, within gold");
}

// The autopilot finishes every track with its required vehicle inside the bronze time, and no faster than
// the gold time, so gold is within a good player's reach; that flight is the course pilot's ghost.
void CheckFlights() {
    printf("%-3s %-20s %8s %6s %6s %6s %6s\n", "#", "track", "pilot", "gold", "silver", "bronze", "tris");
    for (int i = 0; i < kNumTracks; i++) {
        TrackSettings s;
        LoadTrackSettings(TrackScriptPath(i).c_str(), s);
        TrackLayout layout;
        if (!BuildTrack(i, layout))
            HandPath(s, layout);
        AutopilotFlight flight;
        const bool finished = FlyTrack(i, layout, flight);
        const float t = flight.outcome.time;
        printf("%-3d %-20s %8.2f %6.0f %6.0f %6.0f %6zu\n", i + 1, DesignOf(i).title, t, s.goldTime, s.silverTime,
               s.bronzeTime, gTrackModel.triangles.size());
        if (!finished || t >= s.bronzeTime || t > s.goldTime)
            Problem(TrackName(i) + ": the autopilot's " + std::to_string(t) +
                    " s does not sit between the gold and bronze times");
        if (!(std::fabs(PilotGhostTime(i) - t) < 0.0005f))
            Problem(TrackName(i) + ": the course pilot's ghost is missing or is not the " +
                    std::to_string(t) + " s flight");
        CheckProbes(i, s);
    }
}

// The box the chase view and the fly-overs are framed for, nose towards -z. (Each vehicle's own box is the
// generator's table, which FitToBox meets exactly: a unit test of the mesh builder.)
const ModelBox kFrameBox = {{-1.2f, 0.0f, -1.9f}, {1.2f, 1.1f, 1.1f}};

// A vehicle stays in the frame's box and light enough for the frame, and has a glowing exhaust. (Its textures are
// checked with every model in the folder.)
void CheckVehicleModel(int i, const CMilkshapeModel& model) {
    const std::string name = "vehicle " + std::to_string(i + 1);
    const ModelBox box = BoxOf(model);
    if (!kFrameBox.Holds(box.lo, 1e-4f) || !kFrameBox.Holds(box.hi, 1e-4f))
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

// Every HUD loads without a complaint, has instruments, and its shapes name vertices it has.
void CheckHud(const std::string& path) {
    FILE* f = OpenGameFile(path.c_str(), "r");
    if (!f) {
        Problem("HUD script " + path + " is missing");
        return;
    }
    HudLayout layout;
    ReadHudScript(f, 1024.0f, 768.0f, layout);
    fclose(f);
    int instruments = 0;
    for (const auto& instrument : layout.instruments)
        instruments += instrument != nullptr;
    if (instruments == 0)
        Problem("HUD script " + path + " has no instruments");
    const int n = int(layout.vertices.size());
    auto bad = [n](int i) { return i < 0 || i >= n; };
    for (const HudTriangle& t : layout.triangles)
        if (bad(t.i0) || bad(t.i1) || bad(t.i2)) {
            Problem("HUD script " + path + " has a triangle beyond its vertices");
            return;
        }
    // The pale instrument texts must read even over a white sky: where each text begins, the panels under
    // it, blended over white, contrast with the text at least 4.5 to 1.
    for (const auto& instrument : layout.instruments) {
        if (!instrument || instrument->type == HUD_ATTITUDE)
            continue;
        const float p[2] = {instrument->x + 2.0f, instrument->y + 2.0f};
        float backdrop[3] = {1.0f, 1.0f, 1.0f};
        for (const HudTriangle& t : layout.triangles) {
            const HudVertex& a = layout.vertices[t.i0];
            const HudVertex& b = layout.vertices[t.i1];
            const HudVertex& c = layout.vertices[t.i2];
            auto side = [&p](const HudVertex& u, const HudVertex& v) {
                return (v.x - u.x) * (p[1] - u.y) - (v.y - u.y) * (p[0] - u.x);
            };
            const float s0 = side(a, b), s1 = side(b, c), s2 = side(c, a);
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
    for (const HudLine& l : layout.lines)
        if (bad(l.i0) || bad(l.i1))
            Problem("HUD script " + path + " has a line beyond its vertices");
}

// Whatever else lies in the content folders must load too: nothing shipped is left unchecked.
void CheckFolders() {
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
    if (argc == 4 && std::string(argv[1]) == "pilots") {
        FlyCampaign(atoi(argv[2]), atoi(argv[3]));
        printf("pilot campaign: %d problem(s)\n", gProblems);
        return gProblems == 0 ? 0 : 1;
    }
    for (int i = 0; i < kNumTracks; i++)
        CheckScript(TrackScriptPath(i), true);
    CheckScript("../Scripts/intro.txt", false);
    CheckScript("../Scripts/outro.txt", false);

    LoadVehicles(nullptr, nullptr);
    for (int i = 0; i < kNumVehicles; i++) {
        if (!gVehicles[i].model || gVehicles[i].model->triangles.empty()) {
            Problem("vehicle " + std::to_string(i + 1) + " has no model");
            continue;
        }
        CheckVehicleModel(i, *gVehicles[i].model);
    }
    CheckEconomy();
    CheckFlights();
    ReleaseVehicles();

    // The files the game names in its code are there; every file in the folders loads (the cards' looks are
    // test_track_views').
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
        if (!Exists(path))
            Problem(path + " is missing");
    CheckFolders();

    for (int i = 1; i <= kNumVehicles; i++)
        CheckHud("../Scripts/hud" + std::to_string(i) + ".txt");

    const std::string log = ReadAll("log.txt");
    if (log.size() > logBefore)
        Problem("the loaders logged:\n" + log.substr(logBefore));
    printf("content check: %d problem(s)\n", gProblems);
    return gProblems == 0 ? 0 : 1;
}
