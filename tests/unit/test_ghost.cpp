#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

#include "app/states.h"
#include "data/trackscript.h"
#include "hud/hud.h"
#include "race/ghost.h"
#include "race/recording.h"
#include "race/splits.h"
#include "scene/transformation.h"
#include "testutil.h"

namespace {

RecordingSample At(float time, float x, float z) { return {x, 0.0f, z, time, 0.0f, 0.0f, 0.0f}; }

// Down -z for 10 s, a hairpin, and back up +z six units to the side.
Ghost Hairpin() {
    Ghost ghost;
    for (int t = 0; t <= 10; ++t) ghost.path.samples.push_back(At(float(t), 0.0f, -10.0f * float(t)));
    for (int t = 11; t <= 20; ++t) ghost.path.samples.push_back(At(float(t), 6.0f, -10.0f * float(20 - t)));
    return ghost;
}

// A track whose goal box holds the whole hairpin.
TrackSettings WideGoal() {
    TrackSettings track;
    std::fill_n(track.goalMin, 3, -100.0f);
    std::fill_n(track.goalMax, 3, 100.0f);
    return track;
}

}  // namespace

TEST(Ghost, GapIsRaceTimeMinusTheGhostsTimeAtTheNearestPointAlongItsPath) {
    Ghost ghost = Hairpin();
    EXPECT_FLOAT_EQ(GhostGap(ghost, At(1.0f, 0.0f, -5.0f)), 0.5f);   // behind: the ghost was here at 0.5 s
    EXPECT_FLOAT_EQ(GhostGap(ghost, At(2.0f, 3.0f, -35.0f)), -1.5f);  // ahead, beside the path
    // Nearer to the way back, but the search keeps to the stretch matched before.
    EXPECT_FLOAT_EQ(GhostGap(ghost, At(4.0f, 3.5f, -40.0f)), 0.0f);
    ghost.matched = 15.0f;
    EXPECT_FLOAT_EQ(GhostGap(ghost, At(16.0f, 5.0f, -40.0f)), 0.0f);

    // The HUD text: seconds with a sign, only for a shown ghost in the race states; the run is recorded at
    // 20 poses a second of the race clock however long the frames.
    ghost = Hairpin();
    CCamera camera;
    camera.SetPosition(0.0f, 1.0f, -20.0f);
    FollowGhost(ghost, STATE_RACE, 3.0f, camera);
    EXPECT_STREQ(gHudGapText, "+1.00");
    camera.SetPosition(0.0f, 1.0f, -50.0f);
    FollowGhost(ghost, STATE_RACE, 3.28f, camera);
    EXPECT_STREQ(gHudGapText, "-1.72");
    ASSERT_EQ(ghost.run.size(), 7u);
    EXPECT_FLOAT_EQ(ghost.run[3].z, -35.0f);
    EXPECT_FLOAT_EQ(ghost.run[3].y, 0.0f);  // the vehicle's pose, one unit below the eye
    FollowGhost(ghost, STATE_COUNTDOWN, 0.0f, camera);
    EXPECT_STREQ(gHudGapText, "");
    gGhostShown = false;
    FollowGhost(ghost, STATE_RACE, 3.4f, camera);
    gGhostShown = true;
    EXPECT_STREQ(gHudGapText, "");
    EXPECT_EQ(ghost.run.size(), 10u);  // recorded while hidden
}

TEST(Ghost, SavedRunLoadsAndDamagedEmptyOrForeignFilesAreIgnoredWithOneLogLine) {
    GameTreeSandbox sandbox;
    TrackSettings track = WideGoal();
    track.goalMax[2] = -95.0f;  // around the end of the first leg only
    Ghost ghost = Hairpin();
    ghost.path.samples.resize(11);
    ghost.run = ghost.path.samples;
    ASSERT_TRUE(SaveGhost(ghost, "Pilot", 2, 3, 10.25f));  // the run ends at the race time
    const std::string file = sandbox.Path("Profiles/Pilot.ghosts/track3.txt");
    const std::string saved = ReadText(file);
    ASSERT_TRUE(LoadGhost(ghost, "Pilot", 2, 10.25f, track));
    EXPECT_EQ(ghost.path.samples.size(), 12u);
    EXPECT_EQ(ghost.vehicle, 3);
    EXPECT_FALSE(LoadGhost(ghost, "Pilot", 3, 10.25f, track));  // no ghost: nothing logged
    EXPECT_EQ(LogText(), "");

    const std::string cut = saved.substr(0, saved.size() - 20);
    const struct {
        const char* ghostText;
        const char* vehicleText;
        float best;
        const char* why;
    } cases[] = {
        {cut.c_str(), "VEHICLE 3\n", 10.25f, "line 12 is not a sample"},
        {"", "VEHICLE 3\n", 10.25f, "it holds no samples"},
        {"NAME Pilot\nCASH 100\n", "VEHICLE 3\n", 10.25f, "line 1 is not a sample"},
        {saved.c_str(), "VEHICLE 7\n", 10.25f, "its vehicle file is missing or damaged"},
        {saved.c_str(), "VEHICLE 3\n", 9.5f, "its time 10.250 s is not the profile's best time 9.500 s"},
        {"TIME 0 POS 0 0 0 HEAD 0 AZM 0 TILT 0\nTIME 9.5 POS 0 0 -60 HEAD 0 AZM 0 TILT 0\n", "VEHICLE 3\n", 9.5f,
         "it does not end at this track's goal"},
    };
    for (const auto& c : cases) {
        WriteText(file, c.ghostText);
        WriteText(sandbox.Path("Profiles/Pilot.ghosts/track3.vehicle"), c.vehicleText);
        ClearLog();
        EXPECT_FALSE(LoadGhost(ghost, "Pilot", 2, c.best, track)) << c.why;
        EXPECT_TRUE(ghost.path.Empty());
        const std::string line = std::string("Ghost ../Profiles/Pilot.ghosts/track3.txt ignored: ") + c.why + "\n";
        EXPECT_EQ(LogText(), line);
        EXPECT_EQ(ReadText(file), c.ghostText);  // left alone
    }
}

// G on the card steps through the best run (where the profile has one), the course pilot and none; without
// a best run of the track the best gives way to the pilot, in the card and in the race.
TEST(Ghost, TheChosenGhostIsTheBestRunTheCoursePilotOrNone) {
    const struct {
        int choice;
        bool hasBest;
        int shown, next;
    } cases[] = {{GHOST_BEST, true, GHOST_BEST, GHOST_PILOT},   {GHOST_PILOT, true, GHOST_PILOT, GHOST_NONE},
                  {GHOST_NONE, true, GHOST_NONE, GHOST_BEST},    {GHOST_BEST, false, GHOST_PILOT, GHOST_NONE},
                  {GHOST_PILOT, false, GHOST_PILOT, GHOST_NONE}, {GHOST_NONE, false, GHOST_NONE, GHOST_PILOT}};
    for (const auto& c : cases) {
        EXPECT_EQ(GhostChoiceFor(c.choice, c.hasBest), c.shown) << c.choice << c.hasBest;
        EXPECT_EQ(NextGhostChoice(c.choice, c.hasBest), c.next) << c.choice << c.hasBest;
    }

    GameTreeSandbox sandbox;
    TrackSettings track = WideGoal();
    track.requiredVehicle = 1;
    Ghost ghost = Hairpin();
    ghost.run = ghost.path.samples;
    ASSERT_TRUE(SaveGhost(ghost, "Pilot", 0, 3, 20.0f));
    WriteText(sandbox.Path("Scripts/track1_pilot.txt"), FormatRecording(Hairpin().path.samples));
    struct Load {
        int choice;
        float best;  // 0: no best run
        int vehicle;  // -1: no ghost
    };
    for (const Load& l : {Load{GHOST_BEST, 0.0f, 1}, Load{GHOST_NONE, 20.0f, -1}}) {
        gGhostChoice = l.choice;
        ghost.run.resize(3);
        EXPECT_EQ(LoadChosenGhost(ghost, "Pilot", 0, l.best, track), l.vehicle >= 0) << l.choice << l.best;
        EXPECT_EQ(ghost.path.Empty() ? -1 : ghost.vehicle, l.vehicle) << l.choice << l.best;
        EXPECT_TRUE(ghost.run.empty());
    }
    gGhostChoice = GHOST_BEST;
}

// Splits against the hairpin ghost, its path shipped as the route: a run as the ghost's flight slowed or sped
// up by a scale, flown `beside` units to the side down the first leg (4: nearer the other leg, by gate 3's
// spot on it), or off the route through gate 2. The old ghost's sector times are rebuilt from it with one log line.
TEST(Ghost, SplitsAtEachGateAndSectorTimesAgainstTheGhostAndTheBestRun) {
    const struct {
        const char* name;
        float scale, beside;
        bool offAtGate2, oldGhost;
        const char* splits[kNumGates];
        float sectorShare[kNumSectors];  // of the ghost's sector; 0: not timed
    } cases[] = {
        {"ahead", 0.9f, 0.0f, false, false, {"S1 -0.50", "S2 -1.01", "S3 -1.50"}, {0.9f, 0.9f, 0.9f, 0.9f}},
        {"behind", 1.2f, 0.0f, false, false, {"S1 +1.01", "S2 +2.01", "S3 +2.99"}, {1.2f, 1.2f, 1.2f, 1.2f}},
        {"hairpin", 1.0f, 4.0f, false, false, {"S1 +0.00", "S2 +0.00", "S3 +0.00"}, {1, 1, 1, 1}},
        {"gate missed", 1.0f, 0.0f, true, false, {"S1 +0.00", "", "S3 +0.00"}, {1, 0, 0, 1}},
        {"old ghost", 1.1f, 0.0f, false, true, {"S1 +0.50", "S2 +1.01", "S3 +1.50"}, {1.1f, 1.1f, 1.1f, 1.1f}},
    };
    const Ghost ghost = Hairpin();
    std::string route;
    for (const RecordingSample& s : ghost.path.samples)
        route += "POINT " + std::to_string(s.x) + " 0 " + std::to_string(s.z) + "\n";
    Ghost dense;
    for (const RecordingSample& s : ghost.path.samples) RecordRun(dense.run, s);
    float ghostSectors[kNumSectors];
    SectorsOf(ProjectFlight(RouteOf({{0, 0, 0}, {0, 0, -100}, {6, 0, -90}, {6, 0, 0}}), dense.run).gateTimes,
              20.0f, ghostSectors);
    const TrackSettings track = WideGoal();
    for (const auto& c : cases) {
        GameTreeSandbox sandbox;
        WriteText(sandbox.Path("Scripts/track1_route.txt"), route);
        Ghost rival = ghost;
        rival.run = dense.run;
        const float best = c.oldGhost ? 20.0f : 0.0f;
        ASSERT_TRUE(!c.oldGhost || SaveGhost(rival, "Pilot", 0, 1, best));
        WriteText(sandbox.Path("Profiles/Pilot.ghosts/track1.vehicle"), "VEHICLE 1\n");
        ClearLog();
        StartSplits(gSplits, rival, "Pilot", 0, best, track);
        EXPECT_EQ(LogText(), c.oldGhost ? "Sector times ../Profiles/Pilot.ghosts/track1.sectors rebuilt from the "
                                          "ghost: it is missing\n"
                                        : "")
            << c.name;
        int gate = 0;
        for (RecordingSample s : dense.run) {
            s.time *= c.scale;
            s.x += (s.time < 8.0f ? c.beside : 0.0f) + (c.offAtGate2 && s.time > 9.0f && s.time < 11.0f ? 50.0f : 0.0f);
            FollowSplits(gSplits, STATE_RACE, s);
            if (gSplits.run.next > gate) {
                EXPECT_STREQ(gHudSplitText, c.splits[gate]) << c.name << " gate " << gate + 1;
                ++gate;
            }
        }
        EXPECT_EQ(gate, kNumGates) << c.name;
        FollowSplits(gSplits, STATE_RACE, At(20.0f * c.scale + kSplitShownSeconds + 0.1f, 6.0f, 0.0f));
        EXPECT_STREQ(gHudSplitText, "") << c.name;  // shown for three seconds
        const SectorResults r = BookSectors(gSplits, "Pilot", 0, 20.0f * c.scale, !c.oldGhost);
        for (int s = 0; s < kNumSectors; ++s) {
            EXPECT_NEAR(r.run[s], ghostSectors[s] * c.sectorShare[s], 0.02f) << c.name << " sector " << s;
            EXPECT_NEAR(r.best[s], c.oldGhost ? ghostSectors[s] : 0.0f, 0.02f) << c.name << " sector " << s;
        }
        EXPECT_NEAR(r.theoretical, c.oldGhost ? 20.0f : c.offAtGate2 ? 0.0f : 20.0f * c.scale, 0.05f) << c.name;
        SectorTimes saved;
        EXPECT_TRUE(LoadSectorTimes(saved, "Pilot", 0, best, track, gSplits.route));
        EXPECT_NEAR(saved.best[0], ghostSectors[0] * (c.oldGhost ? 1.0f : c.scale), 0.02f) << c.name;
    }
}

TEST(Recording, SamplesInterpolateBadFilesLeaveItEmptyAndOnlyRegularFilesUpToTheLimitAreRead) {
    VehicleRecording r;
    const char three[] = "TIME 0 POS 0 0 0 HEAD 0 AZM 0 TILT 0\n"
                         "TIME 1 POS 2 4 6 HEAD 10 AZM 20 TILT 30\n"
                         "TIME 2 POS 4 0 0 HEAD 30 AZM 0 TILT 0\n";
    ASSERT_TRUE(r.Parse(three, sizeof three - 1, "test"));
    ASSERT_EQ(r.samples.size(), 3u);
    EXPECT_FLOAT_EQ(r.Sample(-1.0f).x, 0.0f);
    EXPECT_FLOAT_EQ(r.Sample(0.5f).y, 2.0f);
    EXPECT_FLOAT_EQ(r.Sample(1.5f).roll, 15.0f);  // the mean of the last two
    EXPECT_FLOAT_EQ(r.Sample(9.0f).yaw, 30.0f);
    r.Rewind();
    EXPECT_FLOAT_EQ(r.Sample(0.5f).x, 1.0f);
    GameTreeSandbox sandbox;
    // A file cut off mid-line keeps the whole lines before the cut.
    WriteText(sandbox.Path("Scripts/cut.txt"),
              "TIME 0 POS 0 0 0 HEAD 0 AZM 0 TILT 0\nTIME 1 POS 1 0 0 HEAD 0 AZM 0 TILT 0\nTIME 2 POS 1 0");
    WriteText(sandbox.Path("Scripts/empty.txt"), "");
    WriteText(sandbox.Path("Scripts/backwards.txt"),
              "TIME 0 POS 0 0 0 HEAD 0 AZM 0 TILT 0\nTIME 2 POS 1 0 0 HEAD 0 AZM 0 TILT 0\n"
              "TIME 1 POS 2 0 0 HEAD 0 AZM 0 TILT 0\n");
    for (const char* bad : {"../Scripts/missing.txt", "../Scripts/empty.txt", "../Scripts/backwards.txt"}) {
        ASSERT_TRUE(r.Load("../Scripts/cut.txt"));
        EXPECT_EQ(r.samples.size(), 2u);
        EXPECT_FALSE(r.Load(bad)) << bad;
        EXPECT_TRUE(r.Empty()) << bad;  // nothing of the recording before stays
    }
    EXPECT_TRUE(Logged("missing.txt"));
    EXPECT_TRUE(Logged("backwards.txt has time"));
    EXPECT_TRUE(Logged("Failed to parse line TIME 2 POS 1 0 in recording file ../Scripts/cut.txt"));
    const char nan[] = "TIME 0 POS nan 0 0 HEAD 0 AZM 0 TILT 0\n";
    EXPECT_FALSE(r.Parse(nan, sizeof nan - 1, "nan"));
    // A FIFO in a game file's place, or a file larger than any the game writes, is refused with a log line rather
    // than read without end.
    ASSERT_EQ(mkfifo(sandbox.Path("Scripts/fifo.txt").c_str(), 0600), 0);
    WriteText(sandbox.Path("Scripts/huge.txt"), "");
    std::filesystem::resize_file(sandbox.Path("Scripts/huge.txt"), kMaxGameFileSize + 1);
    std::string text = "before";
    for (const char* name : {"fifo", "huge"}) {
        EXPECT_FALSE(ReadGameFile((std::string("../Scripts/") + name + ".txt").c_str(), text)) << name;
        EXPECT_EQ(text, "");
    }
    EXPECT_EQ(CountOf(ReadText("log.txt"), "Failed to read ../Scripts/"), 2);
}
