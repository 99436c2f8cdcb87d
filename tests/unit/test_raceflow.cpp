#include <gtest/gtest.h>

#include <climits>

#include "app/states.h"
#include "data/profile.h"
#include "data/trackscript.h"
#include "menus/menu.h"
#include "race/overlays.h"
#include "race/raceflow.h"
#include "testutil.h"

namespace {

TrackSettings MedalTrack() {
    TrackSettings t;
    t.goldTime = 60.0f, t.silverTime = 70.0f, t.bronzeTime = 80.0f;
    t.goldCash = 3000, t.silverCash = 2000, t.bronzeCash = 500;
    return t;
}

Profile NewProfile() {
    Profile p;
    ResetProfile(p);
    return p;
}

}  // namespace

TEST(Results, MedalComparisonsAreStrict) {
    const TrackSettings t = MedalTrack();
    EXPECT_EQ(MedalOfTime(59.9f, t), MEDAL_GOLD);
    EXPECT_EQ(MedalOfTime(60.0f, t), MEDAL_SILVER);
    EXPECT_EQ(MedalOfTime(79.9f, t), MEDAL_BRONZE);
    EXPECT_EQ(MedalOfTime(80.0f, t), MEDAL_NONE);
}

TEST(Results, GoldPaysPrizeMinusRepairs) {
    const TrackSettings t = MedalTrack();
    Profile p = NewProfile();
    p.cash = 100;
    const RaceResult r = ApplyRaceResult(p, 2, 55.0f, t, 37, 50);
    EXPECT_EQ(r.medal, MEDAL_GOLD);
    EXPECT_EQ(r.cashWon, 3000);
    EXPECT_EQ(r.repairCost, 1850);
    EXPECT_EQ(r.total, 1150);
    EXPECT_EQ(p.cash, 1250);
    EXPECT_EQ(p.goldCups, 1);
    EXPECT_EQ(p.racesCompleted, 1);
    EXPECT_FLOAT_EQ(p.bestTimes[2], 55.0f);
    EXPECT_NEAR(p.percentComplete, 3 * 33.33333f / 24, 1e-4f);
}

TEST(Results, ImprovingBronzeToGoldCountsOnlyTheGoldCup) {
    const TrackSettings t = MedalTrack();
    Profile p = NewProfile();
    p.bestTimes[0] = 75.0f;
    p.bronzeCups = 1;
    p.racesCompleted = 1;
    p.percentComplete = 33.33333f / 24;
    ApplyRaceResult(p, 0, 50.0f, t, 0, 50);
    EXPECT_EQ(p.goldCups, 1);
    EXPECT_EQ(p.silverCups, 0);
    EXPECT_EQ(p.bronzeCups, 1);
    EXPECT_EQ(p.racesCompleted, 1);
    EXPECT_NEAR(p.percentComplete, 3 * 33.33333f / 24, 1e-4f);
}

TEST(Results, SlowerRepeatStillPaysButAddsNoProgress) {
    const TrackSettings t = MedalTrack();
    Profile p = NewProfile();
    p.bestTimes[5] = 65.0f;
    p.silverCups = 1;
    p.racesCompleted = 1;
    p.percentComplete = 10.0f;
    const RaceResult r = ApplyRaceResult(p, 5, 68.0f, t, 10, 300);
    EXPECT_EQ(r.medal, MEDAL_SILVER);
    EXPECT_EQ(r.total, -1000);  // the repair costs more than the prize
    EXPECT_EQ(p.cash, -1000);
    EXPECT_EQ(p.silverCups, 1);
    EXPECT_FLOAT_EQ(p.percentComplete, 10.0f);
    EXPECT_FLOAT_EQ(p.bestTimes[5], 65.0f);
}

TEST(Results, FirstFinishWithoutMedalIsStillRecorded) {
    const TrackSettings t = MedalTrack();
    Profile p = NewProfile();
    p.cash = 700;
    const RaceResult r = ApplyRaceResult(p, 23, 95.0f, t, 80, 50);
    EXPECT_EQ(r.medal, MEDAL_NONE);
    EXPECT_EQ(r.repairCost, 0);
    EXPECT_EQ(p.cash, 700);
    EXPECT_EQ(p.racesCompleted, 1);
    EXPECT_FLOAT_EQ(p.bestTimes[23], 95.0f);
    EXPECT_FLOAT_EQ(p.percentComplete, 0.0f);
}

TEST(Results, MoneyNeverWrapsAround) {
    TrackSettings t = MedalTrack();
    t.goldCash = INT_MAX;
    Profile p = NewProfile();
    p.cash = INT_MAX - 5;
    ApplyRaceResult(p, 1, 10.0f, t, 0, 0);
    EXPECT_EQ(p.cash, INT_MAX);

    p = NewProfile();
    p.cash = INT_MIN + 5;
    const RaceResult r = ApplyRaceResult(p, 1, 10.0f, MedalTrack(), 100, INT_MAX);
    EXPECT_EQ(r.repairCost, INT_MAX);
    EXPECT_EQ(p.cash, INT_MIN);

    t = MedalTrack();
    t.goldCash = -5000;  // a damaged script must not fine the winner
    p = NewProfile();
    EXPECT_EQ(ApplyRaceResult(p, 1, 10.0f, t, 0, -50).cashWon, 0);
    EXPECT_EQ(p.cash, 0);
    EXPECT_EQ(ApplyRaceResult(p, 99, 10.0f, t, 0, 0).medal, MEDAL_NONE);  // no such track: nothing booked
}

TEST(Results, AllGoldCompletesTheGame) {
    const TrackSettings t = MedalTrack();
    Profile p = NewProfile();
    for (int track = 0; track < 24; ++track) ApplyRaceResult(p, track, 10.0f, t, 0, 0);
    EXPECT_GE(p.percentComplete, kGameCompletePercent);
    EXPECT_LE(p.percentComplete, 100.0f);
    EXPECT_EQ(p.goldCups, 24);
}

TEST(RaceFlow, EnterAfterResultsPlaysTheEndingOnlyWhenComplete) {
    CRaceCompletedPhysics results;
    gProfile.percentComplete = 99.98f;
    gRequestedState = STATE_RACE_COMPLETED;
    results.onKey(13, true);
    EXPECT_EQ(gRequestedState, STATE_PROFILE_MENU);
    gProfile.percentComplete = 99.99f;
    gRequestedState = STATE_RACE_COMPLETED;
    results.onKey(13, true);
    EXPECT_EQ(gRequestedState, STATE_LOADING);
    EXPECT_EQ(gStateAfterLoading, STATE_GAME_OUTRO);
}

TEST(Overlay, MoneyFormsOfTheResultsPanel) {
    EXPECT_EQ(MoneyText("Cash won   : ", 500, true), "Cash won   : 0,500$");
    EXPECT_EQ(MoneyText("Total      : ", -1500, false), "Total      : -1500$");
}

TEST(Overlay, ResultsPanelLinesAndPlaces) {
    ResultsView v{75.5f, 0.0f, 60.0f, 70.0f, 80.0f, MEDAL_NONE, 0, 0, 0};
    std::vector<OverlayText> texts = ResultsPanelTexts(640, 480, v);
    ASSERT_EQ(texts.size(), 6u);  // the title and five time lines
    EXPECT_EQ(texts[1].text, "Your time: 00:01:15.500");
    EXPECT_EQ(texts[2].text, "Personal Best:--:--:--.---");

    v.medal = MEDAL_GOLD;
    v.cashWon = 3000;
    v.repairCost = 1850;
    v.total = 1150;
    texts = ResultsPanelTexts(640, 480, v);
    ASSERT_EQ(texts.size(), 11u);
    EXPECT_EQ(texts[6].text, "Cash won   : 3,000$");
    EXPECT_EQ(texts[8].text, "Total      : 1,150$");
    EXPECT_EQ(texts[9].text, "You've won GOLD");
}
