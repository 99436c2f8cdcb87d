#include <gtest/gtest.h>

#include <climits>

#include "app/states.h"
#include "data/profile.h"
#include "data/trackscript.h"
#include "race/overlays.h"
#include "race/raceflow.h"
#include "race/replay.h"
#include "hud/hudtimer.h"
#include "keypress.h"
#include "testutil.h"

namespace {

TrackSettings MedalTrack() {
    TrackSettings t;
    t.goldTime = 60.0f, t.silverTime = 70.0f, t.bronzeTime = 80.0f;
    t.goldCash = 3000, t.silverCash = 2000, t.bronzeCash = 500;
    return t;
}

}  // namespace

// One profile's races, each booked on top of the ones before; a medal's time must be beaten, not matched. A finish
// without a medal is recorded, neither paid nor charged for repairs; gold pays its prize minus damage at its price;
// improving a medal adds its cups and steps, not a race; a slower repeat still pays (here less than its repairs,
// damage counted up to 100) but adds no cup, progress or best time.
TEST(Results, PrizesRepairsCupsAndProgressOfACareerAndMoneyThatNeverWraps) {
    const TrackSettings t = MedalTrack();
    Profile p;
    ResetProfile(p);
    p.cash = 700;
    const struct {
        int track;
        float time;
        int damage, price;
        int medal, cashWon, repairCost, total, cash, bronze, silver, gold, races;
        float best;
        int steps;  // of 33.3333 / 24 percent each
    } races[] = {
        {23, 80.0f, 80, 50, MEDAL_NONE, 0, 0, 0, 700, 0, 0, 0, 1, 80.0f, 0},
        {2, 59.9f, 37, 50, MEDAL_GOLD, 3000, 1850, 1150, 1850, 0, 0, 1, 2, 59.9f, 3},
        {0, 79.9f, 0, 50, MEDAL_BRONZE, 500, 0, 500, 2350, 1, 0, 1, 3, 79.9f, 1 + 3},
        {0, 50.0f, 0, 50, MEDAL_GOLD, 3000, 0, 3000, 5350, 1, 0, 2, 3, 50.0f, 2 + 4},
        {5, 60.0f, 0, 50, MEDAL_SILVER, 2000, 0, 2000, 7350, 1, 1, 2, 4, 60.0f, 2 + 6},
        {5, 68.0f, 130, 30, MEDAL_SILVER, 2000, 3000, -1000, 6350, 1, 1, 2, 4, 60.0f, 8},
    };
    for (const auto& r : races) {
        SCOPED_TRACE(testing::Message() << "track " << r.track << " in " << r.time << " s");
        const RaceResult got = ApplyRaceResult(p, r.track, r.time, t, r.damage, r.price);
        EXPECT_EQ(std::vector<int>({got.medal, got.cashWon, got.repairCost, got.total, p.cash, p.bronzeCups,
                                    p.silverCups, p.goldCups, p.racesCompleted}),
                  std::vector<int>({r.medal, r.cashWon, r.repairCost, r.total, r.cash, r.bronze, r.silver, r.gold,
                                    r.races}));
        EXPECT_FLOAT_EQ(p.bestTimes[r.track], r.best);
        EXPECT_NEAR(p.percentComplete, r.steps * 33.33333f / 24, 1e-4f);
    }
    // Money never wraps around.
    TrackSettings rich = MedalTrack();
    rich.goldCash = INT_MAX;
    ResetProfile(p);
    p.cash = INT_MAX - 5;
    ApplyRaceResult(p, 1, 10.0f, rich, 0, 0);
    EXPECT_EQ(p.cash, INT_MAX);
    p.cash = INT_MIN + 5;
    EXPECT_EQ(ApplyRaceResult(p, 2, 10.0f, t, 100, INT_MAX).repairCost, INT_MAX);
    EXPECT_EQ(p.cash, INT_MIN);
    // A damaged script must not fine the winner; a track past the last books nothing.
    rich.goldCash = -5000;
    ResetProfile(p);
    EXPECT_EQ(ApplyRaceResult(p, 1, 10.0f, rich, 0, -50).cashWon, 0);
    EXPECT_EQ(p.cash, 0);
    EXPECT_EQ(ApplyRaceResult(p, 99, 10.0f, rich, 0, 0).medal, MEDAL_NONE);
}

// The ending follows the results of the race that completes the game, and no earlier one.
TEST(RaceFlow, GoldOnEveryTrackCompletesTheGameAndAResultIsBookedOncePerRun) {
    const TrackSettings t = MedalTrack();
    CRaceCompletedPhysics results;
    gProfile = Profile();
    for (int track = 0; track < 24; ++track) {
        ApplyRaceResult(gProfile, track, 10.0f, t, 0, 0);
        gRequestedState = STATE_RACE_COMPLETED;
        results.onKey(13, true);
        EXPECT_EQ(gRequestedState, track < 23 ? STATE_PROFILE_MENU : STATE_LOADING) << track;
    }
    EXPECT_EQ(gStateAfterLoading, STATE_GAME_OUTRO);
    EXPECT_LE(gProfile.percentComplete, 100.0f);
    // Coming back to the results of a run (or anything else entering them again) pays and saves nothing more;
    // the next countdown starts a run that books again.
    GameTreeSandbox sandbox;
    CCountdownPhysics countdown;
    gProfile = Profile();
    snprintf(gProfile.name, sizeof gProfile.name, "Once");
    gTrackSettings = t;
    gSelectedTrack = 0;
    gRaceClock = 50000;  // gold
    const std::string saved = sandbox.Path("Profiles/Once.txt");
    const int cash = gProfile.cash;
    for (int pass = 0; pass < 2; ++pass) {
        countdown.enter();
        for (int entry = 0; entry < 2; ++entry) {
            std::remove(saved.c_str());
            results.enter();
            EXPECT_EQ(gProfile.cash, cash + 3000 * (pass + 1)) << pass << entry;
            EXPECT_EQ(ReadText(saved).empty(), entry == 1) << pass << entry;
            EXPECT_EQ(gCashWon, 3000);  // the panel still shows the run's prize
        }
    }
}

// Without a cup the panel has no money lines (its cup and money lines are read off the screen by the journey).
// The sectors: each against the best run's where both are timed.
TEST(Overlay, ResultsPanelWithoutACup) {
    ResultsView v{75.5f, 0.0f, 60.0f, 70.0f, 80.0f, MEDAL_NONE, 0, 0, 0, SectorResults{{10, 0, 20, 45.5f}, {9, 5, 0, 46}, 0}};
    std::vector<OverlayText> texts = ResultsPanelTexts(640, 480, v);
    ASSERT_EQ(texts.size(), 12u);  // the title, five time lines, the theoretical best, four sectors, the keys
    EXPECT_EQ(texts[1].text, "Your time: 00:01:15.500");
    EXPECT_EQ(texts[2].text, "Personal Best:--:--:--.---");
    const char* const sectors[] = {"Theoretical best:--", "S1 10.00 +1.00", "S2 --", "S3 20.00", "S4 45.50 -0.50"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(texts[6 + i].text, sectors[i]);
    EXPECT_GT(texts[7].color[0], texts[7].color[1]);   // behind: red
    EXPECT_LT(texts[10].color[0], texts[10].color[1]);  // ahead: green
    v.sectors.theoretical = 74.25f;
    EXPECT_EQ(ResultsPanelTexts(640, 480, v)[6].text, "Theoretical best:00:01:14.250");
}

// The viewer's keys from the keyboard and the pad (A is Enter, the d-pad the arrows, Y its own key) over a
// run of 20 s down -z: seeks stay inside the run, the speed steps and stops at either end, a pause holds
// the clock, the cameras cycle back to the race view; a pose is found by its time wherever the clock jumps.
TEST(Replay, SeekSpeedPauseAndCamerasFromKeysAndPadAndNoBestRunToWatch) {
    struct Case {
        const char* keys;
        float clock;       // after the keys and then one second
        float speed;
        int camera;
        bool paused;
    } cases[] = {
        {"RR", 11.0f, 1.0f, REPLAY_CAMERA_RACE, false},
        {"RRRRRR", 20.0f, 1.0f, REPLAY_CAMERA_RACE, false},  // held at the end
        {"RL", 1.0f, 1.0f, REPLAY_CAMERA_RACE, false},
        {"L", 1.0f, 1.0f, REPLAY_CAMERA_RACE, false},  // not before the start
        {"UUU", 2.0f, 2.0f, REPLAY_CAMERA_RACE, false},
        {"DDDD", 0.25f, 0.25f, REPLAY_CAMERA_RACE, false},
        {"R ", 5.0f, 1.0f, REPLAY_CAMERA_RACE, true},
        {"  ", 1.0f, 1.0f, REPLAY_CAMERA_RACE, false},
        {"\rR", 5.0f, 1.0f, REPLAY_CAMERA_RACE, true},
        {"ccY", 1.0f, 1.0f, REPLAY_CAMERA_ORBIT, false},
        {"cccc", 1.0f, 1.0f, REPLAY_CAMERA_RACE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        gReplay = Replay();
        for (int t = 0; t <= 20; ++t) gReplay.samples.push_back({0.0f, 0.0f, -10.0f * float(t), float(t)});
        CReplayPhysics viewer;
        viewer.enter();
        Press(viewer, c.keys);
        viewer.update(1.0f);
        EXPECT_FLOAT_EQ(gReplay.clock, c.clock);
        EXPECT_FLOAT_EQ(kReplaySpeeds[gReplay.speed], c.speed);
        EXPECT_EQ(gReplay.camera, c.camera);
        EXPECT_EQ(gReplay.paused, c.paused);
        EXPECT_FLOAT_EQ(gReplay.PoseAt(gReplay.clock).z, -10.0f * c.clock);
    }
    EXPECT_FLOAT_EQ(gReplay.PoseAt(-1.0f).z, 0.0f);
    // W on a card without a best run of its track opens nothing (the card plays its alert).
    gProfile = Profile();
    gSelectedTrack = 0;
    gRequestedState = STATE_TRACK_SELECT;
    EXPECT_FALSE(WatchBestRun());
    gProfile.bestTimes[0] = 30.0f;  // a time without its ghost file
    EXPECT_FALSE(WatchBestRun());
    EXPECT_EQ(gRequestedState, STATE_TRACK_SELECT);
}
