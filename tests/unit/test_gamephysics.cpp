// The race step: input, sub-stepping, the goal zone and what it does with bad numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "app/states.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "race/gamephysics.h"
#include "race/ghost.h"
#include "race/gamerenderer.h"
#include "race/raceflow.h"
#include "racetestutil.h"
#include "scene/milkshape.h"
#include "testutil.h"

namespace {

class RaceStep : public ::testing::Test {
protected:
    void SetUp() override {
        gSettings = DefaultSettings();  // a and z, the arrows (Left 100, Right 102), sensitivity 1
        gSettings.keys[BINDING_UP] = {'e', false};
        gSettings.keys[BINDING_DOWN] = {101, true};  // the code of 'e', but a special key
        gVehicles[0] = TestVehicle();
        gVehicles[0].maxSpeed = 30.0f;
        gSelectedVehicle = 0;
        v = MakeDynamics(gVehicles[0]);
        // A goal far away, so only the tests that want it finish.
        gTrackSettings = TrackSettings();
        std::fill_n(gTrackSettings.goalMin, 3, 1000.0f);
        std::fill_n(gTrackSettings.goalMax, 3, 1010.0f);
        gRequestedState = STATE_RACE;
    }
    GameTreeSandbox sandbox;
    CCamera camera;
    VehicleDynamics v;
    CGamePhysics race{&camera, &v};
};

TEST_F(RaceStep, KeysMatchTheirBindingsOnlyAndTheFirstBindingWinsUntilTheNextRace) {
    race.onKey('z', true);
    EXPECT_TRUE(v.brakeOn);
    race.onKey('z', false);
    race.onKey(100, true);  // 'd' is not the special key Left
    EXPECT_EQ(race.turnLeftTime, 0.0f);
    race.onSpecialKey(100, true);
    EXPECT_EQ(race.turnLeftTime, 1.0f);
    race.onSpecialKey(100, false);
    EXPECT_EQ(race.turnLeftTime, 0.0f);
    race.onKey('e', true);  // Up, not Down, whose special key has the same code
    EXPECT_EQ(race.turnUpTime, 1.0f);
    EXPECT_EQ(race.turnDownTime, 0.0f);  // (Esc pausing: the journey's)
    // A letter is its key under Shift or Caps Lock: thrust pressed, then released as "A", stops.
    race.onKey('a', true);
    race.onKey('A', false);
    EXPECT_FALSE(v.thrustOn);
    race.onKey('Z', true);
    EXPECT_TRUE(v.brakeOn);
    race.onKey('z', false);
    EXPECT_FALSE(v.brakeOn);
    // A key bound twice works the first of its controls only.
    gSettings.keys[BINDING_BRAKE] = {'a', false};
    race.onKey('a', true);
    EXPECT_TRUE(v.thrustOn);
    EXPECT_FALSE(v.brakeOn);
    race.onKey('a', false);
    EXPECT_FALSE(v.thrustOn);
    // G bound to a control drives and no longer shows or hides the ghost (unbound, the ghost test's).
    gSettings.keys[BINDING_BRAKE] = {'g', false};
    race.onKey('g', true);
    EXPECT_TRUE(v.brakeOn);
    EXPECT_TRUE(gGhostShown);
    // Preparing a race forgets a held turn key. (The world it builds stops the headless race at the wall.)
    race.onSpecialKey(102, true);
    gTrackModel.Clear();
    race.PrepareRace();
    EXPECT_EQ(race.turnRightTime, 0.0f);
}

// A held turn key acts like twelve pixels of the mouse (six up or down), growing with the time held, by the
// sensitivity. (Which way the mouse's pixels bank and pitch: the gamepad test's stick.)
TEST_F(RaceStep, HeldTurnKeysBankAndPitchByTheSensitivity) {
    gSettings.mouseSensitivity = 1.6f;
    race.onSpecialKey(100, true);
    race.update(0.02f);  // t = 1.02: dx = trunc(sqrt(1.02) * -12) = -12
    EXPECT_FLOAT_EQ(camera.roll, -12 * 1.6f * 0.07f);
    race.turnLeftTime = 4.0f;  // held three seconds: sqrt(4.02) * -12 = -24.06
    race.update(0.02f);
    EXPECT_FLOAT_EQ(camera.roll, -36 * 1.6f * 0.07f);
    race.onKey('e', true);
    race.update(0.02f);  // up: dy = trunc(sqrt(1.02) * -6) = -6
    EXPECT_FLOAT_EQ(camera.pitch, -6 * 1.6f * 0.15f);
}

TEST_F(RaceStep, TheGoalFinishesTheRaceFromTheStepThatStartsInIt) {
    std::fill_n(gTrackSettings.goalMin, 3, 0.0f);
    std::fill_n(gTrackSettings.goalMax, 3, 5.0f);
    race.update(0.0f);  // bounds are inclusive: the camera sits on the corner
    EXPECT_EQ(gRequestedState, STATE_RACE_COMPLETED);

    // The goal is tested where the step started.
    gRequestedState = STATE_RACE;
    const float lo[3] = {-1.0f, -1.0f, -10.0f}, hi[3] = {1.0f, 1.0f, -9.5f};
    std::copy(lo, lo + 3, gTrackSettings.goalMin);
    std::copy(hi, hi + 3, gTrackSettings.goalMax);
    camera.SetPosition(0.0f, 0.0f, -9.0f);
    v.speed = 10.0f;
    race.update(0.05f);  // starts outside, ends inside at -9.5
    EXPECT_EQ(gRequestedState, STATE_RACE);
    race.update(0.0f);
    EXPECT_EQ(gRequestedState, STATE_RACE_COMPLETED);
}

TEST_F(RaceStep, UnusableFrameTimesAndPositionsNeverMoveTheVehicle) {
    v.speed = 10.0f;
    race.update(std::nanf(""));
    race.update(INFINITY);
    race.update(-1.0f);
    EXPECT_EQ(camera.z, 0.0f);
    EXPECT_NE(ReadText(sandbox.Path("bin/log.txt")).find("Race: ignoring the frame time nan"), std::string::npos);

    // A position that is not a number goes back to the last good one.
    race.update(0.05f);
    const float z = camera.z;
    camera.SetPosition(NAN, 0.0f, 0.0f);
    race.update(0.05f);
    EXPECT_TRUE(std::isfinite(camera.x));
    EXPECT_FLOAT_EQ(camera.z, z);
    EXPECT_EQ(v.speed, 0.0f);
    race.onKey('a', true);
    race.update(0.1f);
    race.update(0.1f);
    EXPECT_LT(camera.z, z);  // and it flies on
    v.speed = INFINITY;  // would halve the step forever
    race.update(0.1f);
    EXPECT_FLOAT_EQ(v.speed, 1.0f);  // stopped, then 0.1 s of thrust
    EXPECT_TRUE(std::isfinite(camera.z));
}

TEST_F(RaceStep, FramesAreHalvedBelowPointEightUnitsAndAStalledOneNeverTunnelsThroughAWall) {
    // At 30 units/s a 0.1 s frame (3 units) runs as four steps of 0.75.
    v.speed = 30.0f;
    v.thrustOn = true;
    race.onSpecialKey(100, true);  // each step banks by 12 pixels' worth
    race.update(0.1f);
    EXPECT_NEAR(camera.z, -3.0f, 1e-4f);
    EXPECT_NEAR(camera.roll, -4 * 12 * 0.07f, 1e-4f);
    race.onSpecialKey(100, false);
    // A wall 20 units ahead; thrust held through frames of every length, including ones that would carry
    // the vehicle hundreds of units in one go.
    race.collisionWorld = std::make_unique<CollisionWorld>();
    AddWall(*race.collisionWorld, -20.0f - 3.0f, 200.0f);
    for (float dt : {0.016f, 0.3f, 2.0f, 9.0f, 60.0f, 1e9f}) {
        for (int i = 0; i < 20; ++i) {
            race.update(dt);
            ASSERT_GT(camera.z, -23.0f) << "through the wall at dt " << dt;
            ASSERT_TRUE(std::isfinite(camera.z));
        }
    }
    EXPECT_GT(v.damage, 0);
    EXPECT_NE(ReadText(sandbox.Path("bin/log.txt")).find("is simulated as 10.000 s"), std::string::npos);
}

// R (unbound) in the race, the pause menu or the results, and the pad's Back even where R drives, go to the
// countdown, which puts the vehicle back where the fly-over left it, undamaged and with no key held (though
// the race's last step flew on with thrust), with the chosen ghost from its start.
TEST_F(RaceStep, RestartPutsTheRunBackOnTheStartLine) {
    CIngameMenuPhysics pause;
    CRaceCompletedPhysics results;
    CCountdownPhysics countdown;
    countdown.race = &race;
    gVehicleTransform.Reset();
    gVehicleTransform.SetPosition(5.0f, 2.0f, -7.0f);
    gVehicleTransform.SetYaw(30.0f);
    gTrackSettings.requiredVehicle = 2;
    WriteText(sandbox.Path("Scripts/track1_pilot.txt"), "TIME 0 POS 0 0 0 HEAD 0 AZM 0 TILT 0\n");
    gSelectedTrack = 0;
    const struct {
        CPhysics* state;
        int key;
        bool special;
        int brakeKey;  // 'r' when R drives
    } cases[] = {{&race, 'r', false, 'z'},        {&pause, 'R', false, 'z'},
                 {&results, 'r', false, 'z'},     {&race, kKeyPadBack, true, 'r'},
                 {&pause, kKeyPadBack, true, 'r'}, {&results, kKeyPadBack, true, 'r'}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        gSettings.keys[BINDING_BRAKE] = {c.brakeKey, false};
        camera.SetPosition(40.0f, 3.0f, -90.0f);
        camera.Roll(20.0f, 30.0f);
        v.damage = 60;
        race.onSpecialKey(100, true);
        gGhost = Ghost();
        gGhost.run.resize(9);
        gRequestedState = STATE_RACE;
        c.special ? c.state->onSpecialKey(c.key, true) : c.state->onKey(static_cast<unsigned char>(c.key), true);
        EXPECT_EQ(gRequestedState, STATE_COUNTDOWN);
        race.onKey('a', true);
        race.update(0.1f);
        countdown.enter();
        EXPECT_EQ(std::vector<float>({camera.x, camera.y, camera.z, camera.yaw, camera.roll}),
                  std::vector<float>({5.0f, 2.0f + kEyeHeight, -7.0f, -30.0f, 0.0f}));
        EXPECT_EQ(v.speed, 0.0f);
        EXPECT_FALSE(v.thrustOn);
        EXPECT_EQ(v.damage, 0);
        EXPECT_EQ(race.turnLeftTime, 0.0f);
        EXPECT_TRUE(gGhost.run.empty());
        EXPECT_EQ(gGhost.vehicle, 2);  // the course pilot, with no best run of the profile's
    }
    // R bound to a driving key drives, in the race and out of it; a countdown without a restart moves nothing.
    gSettings.keys[BINDING_BRAKE] = {'r', false};
    gRequestedState = STATE_RACE;
    for (CPhysics* state : std::initializer_list<CPhysics*>{&race, &pause, &results})
        state->onKey('r', true);
    EXPECT_EQ(gRequestedState, STATE_RACE);
    EXPECT_TRUE(v.brakeOn);
    camera.SetPosition(1.0f, 1.0f, 1.0f);
    countdown.enter();
    EXPECT_EQ(camera.x, 1.0f);
}

}  // namespace
