#include <gtest/gtest.h>

#include <cstdio>

#include "data/profile.h"
#include "data/rewards.h"
#include "data/trackscript.h"
#include "menus/trackselect.h"
#include "race/ghost.h"
#include "race/raceflow.h"
#include "race/vehicle.h"
#include "keypress.h"
#include "testutil.h"

namespace {

// Track n (1 based) is raced with vehicle (n - 1) % 2.
void WriteTrackScripts(const GameTreeSandbox& tree) {
    for (int n = 1; n <= kNumTracks; n++) {
        char text[512];
        snprintf(text, sizeof(text),
                 "TITLE Track number %d\nTRACK ../Models/track%d.ms3d\nVEHICLE %d\nTIMEGOLD 60.5\nTIMESILVER 70\n"
                 "TIMEBRONZE 80\nCASHGOLD 12500\nCASHSILVER 500\nCASHBRONZE 0\n",
                 n, 30 + n, (n - 1) % 2);
        WriteText(tree.Path("Scripts/track" + std::to_string(n) + ".txt"), text);
    }
    WriteText(tree.Path("Scripts/track1_pilot.txt"), "TIME 0 POS 0 0 0 HEAD 0 AZM 0 TILT 0\n"
                                                     "TIME 41.23 POS 0 0 -400 HEAD 0 AZM 0 TILT 0\n");
}

class TrackSelection : public ::testing::Test {
protected:
    void SetUp() override {
        WriteTrackScripts(tree);
        gSelectedVehicle = 0;
        ResetProfile();
        physics.create();
        gRequestedState = STATE_TRACK_SELECT;
        gStateAfterLoading = 0;
        physics.enter();
    }
    void TearDown() override { gStateAfterLoading = 0; }
    GameTreeSandbox tree;
    CTrackSelectMenuPhysics physics;
};

}  // namespace

TEST(TrackCards, TextsOfTimesAndRewards) {
    TrackSettings track;
    snprintf(track.title, sizeof(track.title), " Canyon Run");
    snprintf(track.trackModel, sizeof(track.trackModel), "../Models/track7.ms3d");
    track.goldTime = 83.5f;
    track.silverTime = 0.0f;
    track.goldCash = 500;
    track.silverCash = 12500;
    const TrackCard card = MakeTrackCard(track);
    EXPECT_EQ(card.pictureNumber, 7);
    EXPECT_EQ(card.timeLines[0], "Gold Cup     :00:01:23.500");
    EXPECT_EQ(card.timeLines[1], "Silver Cup   :--:--:--.---");
    EXPECT_EQ(card.cashLines[0], "Gold Cup     : 0,500$");
    EXPECT_EQ(card.cashLines[1], "Silver Cup   : 12,500$");
    snprintf(track.trackModel, sizeof(track.trackModel), "../Models/canyon.ms3d");
    EXPECT_EQ(MakeTrackCard(track).pictureNumber, 0);
}

TEST(Rewards, MedalsAreStrict) {
    EXPECT_EQ(MedalOfTime(0.0f, 60.0f, 70.0f, 80.0f), MEDAL_NONE);  // no time yet
    EXPECT_EQ(MedalOfTime(59.9f, 60.0f, 70.0f, 80.0f), MEDAL_GOLD);
    EXPECT_EQ(MedalOfTime(60.0f, 60.0f, 70.0f, 80.0f), MEDAL_SILVER);  // equal to gold is silver
    EXPECT_EQ(MedalOfTime(79.9f, 60.0f, 70.0f, 80.0f), MEDAL_BRONZE);
    EXPECT_EQ(MedalOfTime(80.0f, 60.0f, 70.0f, 80.0f), MEDAL_NONE);
}

TEST_F(TrackSelection, CardsComeFromTheScriptsAndLockTheWrongVehicle) {
    EXPECT_EQ(gTrackCards[23].pictureNumber, 54);
    EXPECT_TRUE(gTrackVehicleAllowed);
    Special(physics, kKeyRight);
    Animate(physics, 1.1f);
    EXPECT_EQ(gSelectedTrack, 1);
    EXPECT_FALSE(gTrackVehicleAllowed);
    Key(physics, kKeyEnter);  // locked: only the alert
    EXPECT_EQ(gRequestedState, STATE_TRACK_SELECT);
    gSelectedVehicle = 1;
    physics.enter();
    EXPECT_TRUE(gTrackVehicleAllowed);
    Key(physics, kKeyEnter);
    EXPECT_EQ(gRequestedState, STATE_LOADING);
    EXPECT_EQ(gStateAfterLoading, STATE_RACE_INTRO);
}

// G (or the pad's Y) on a card that can be raced chooses the ghost for every track: the course pilot, none,
// the pilot again where the profile has no best run of the track.
TEST_F(TrackSelection, GOnTheCardChoosesTheGhost) {
    const TrackCard& card = gTrackCards[0];
    EXPECT_EQ(GhostLine(card, 0.0f, gTrackBestRun), "Course pilot :00:00:41.230");
    Key(physics, 'g');
    EXPECT_EQ(GhostLine(card, 0.0f, gTrackBestRun), "Ghost        :none");
    Special(physics, kKeyPadY);
    EXPECT_EQ(GhostLine(card, 75.5f, true), "Course pilot :00:00:41.230");
    gGhostChoice = GHOST_BEST;
    EXPECT_EQ(GhostLine(card, 75.5f, true), "Your best    :00:01:15.500");
    Special(physics, kKeyRight);
    Animate(physics, 1.1f);
    Key(physics, 'G');  // locked: only the alert
    EXPECT_EQ(gGhostChoice, GHOST_BEST);
}
