#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>

#include "app/states.h"
#include "data/trackscript.h"
#include "race/sequence.h"
#include "race/vehicle.h"
#include "race/gamerenderer.h"
#include "scene/transformation.h"
#include "testutil.h"
#include "trackscriptwriter.h"

namespace {

class SequenceTest : public ::testing::Test {
public:
    void SetUp() override {
        ClearTrackSettings(gTrackSettings);
        gTrackSettings.hasVehicleScript = false;
        gTrackSettings.vehicleRecording.samples.clear();
        for (float& v : gTrackSettings.camStartPosition) v = 0.0f;
        for (float& v : gTrackSettings.vehicleStartPosition) v = 0.0f;
        sequence.dynamics = &dynamics;
        gRequestedState = STATE_RACE_INTRO;
        gStateAfterLoading = 0;
    }
    void Start(int state) {
        gRequestedState = state;
        sequence.enter();
        sequence.update(0.0f);  // a state's first update always gets dt 0
    }
    // Runs frames of dt until elapsed reaches t (within rounding).
    void RunTo(float t, float dt) {
        while (sequence.elapsed + dt * 0.5f < t) sequence.update(dt);
    }

    CCamera camera;
    VehicleDynamics dynamics;
    CRaceIntroAnimationPhysics sequence{&camera};
};

// Every spreading action: at its start nothing has changed, halfway half, at the end all of it.
struct SpreadCase {
    int action;
    float value;
    std::function<float(const SequenceTest&)> read;
    float expectedAtEnd;
};

}  // namespace

TEST_F(SequenceTest, SpreadActionsAreExactAtStartMiddleAndEnd) {
    const SpreadCase cases[] = {
        {ACTION_CHANGEHEADING, 90.0f, [](const SequenceTest&) { return gVehicleTransform.yaw; }, 90.0f},
        {ACTION_CHANGECAMHEADING, 90.0f, [](const SequenceTest& t) { return t.camera.yaw; }, -90.0f},
        {ACTION_CHANGEPITCH, 40.0f, [](const SequenceTest&) { return gVehicleTransform.pitch; }, 40.0f},
        {ACTION_CHANGECAMPITCH, 40.0f, [](const SequenceTest& t) { return t.camera.pitch; }, -40.0f},
        {ACTION_CHANGECAMSPEED, 8.0f, [](const SequenceTest& t) { return t.sequence.cameraSpeed; }, 8.0f},
    };
    for (const SpreadCase& c : cases) {
        SCOPED_TRACE(ActionName(c.action));
        SetUp();
        AddFromTo(gTrackSettings, 1.0f, 3.0f, c.action, c.value);
        Start(STATE_RACE_INTRO);
        RunTo(1.0f, 0.25f);
        EXPECT_NEAR(c.read(*this), 0.0f, 1e-4f);
        RunTo(2.0f, 0.25f);
        EXPECT_NEAR(c.read(*this), c.expectedAtEnd * 0.5f, 1e-3f);
        RunTo(3.0f, 0.25f);
        EXPECT_NEAR(c.read(*this), c.expectedAtEnd, 1e-3f);
        RunTo(4.0f, 0.25f);
        EXPECT_NEAR(c.read(*this), c.expectedAtEnd, 1e-3f);  // nothing more after the end
    }
}

TEST_F(SequenceTest, ChangeHeadingAddsUpWhenFramesOvershootTheEnd) {
    AddFromTo(gTrackSettings, 0.0f, 2.0f, ACTION_CHANGEHEADING, 90.0f);
    Start(STATE_RACE_INTRO);
    for (int i = 0; i < 7; ++i) sequence.update(0.3f);  // the last update, at 2.1, uses only 0.2
    EXPECT_NEAR(gVehicleTransform.yaw, 90.0f, 1e-3f);
    sequence.update(0.3f);
    EXPECT_NEAR(gVehicleTransform.yaw, 90.0f, 1e-3f);
}

TEST_F(SequenceTest, PitchIsClampedAndZeroLengthChangesApplyAtOnce) {
    AddFromTo(gTrackSettings, 0.0f, 1.0f, ACTION_CHANGEPITCH, 200.0f);
    AddFromTo(gTrackSettings, 0.5f, 0.5f, ACTION_CHANGEHEADING, 30.0f);
    Start(STATE_RACE_INTRO);
    RunTo(2.0f, 0.1f);
    EXPECT_FLOAT_EQ(gVehicleTransform.pitch, 90.0f);
    EXPECT_NEAR(gVehicleTransform.yaw, 30.0f, 1e-4f);
}

TEST(SequenceFade, MusicFadesFromFullToSilence) {
    TrackSettings t;
    AddFromTo(t, 2.0f, 6.0f, ACTION_FADEMUSIC);
    const AnimationCommand& fade = t.animationCommands[0];
    EXPECT_FLOAT_EQ(MusicFadeFactor(fade, 1.0f), 1.0f);
    EXPECT_FLOAT_EQ(MusicFadeFactor(fade, 4.0f), 0.5f);
    EXPECT_FLOAT_EQ(MusicFadeFactor(fade, 6.0f), 0.0f);
    EXPECT_FLOAT_EQ(MusicFadeFactor(fade, 6.3f), 0.0f);  // never a negative gain
}

TEST_F(SequenceTest, CircleKeepsItsRadiusAndEndsWhereItBegan) {
    camera.SetPosition(5.0f, 3.0f, -10.0f);
    gTrackSettings.camStartPosition[0] = 5.0f;
    gTrackSettings.camStartPosition[1] = 3.0f;
    gTrackSettings.camStartPosition[2] = -10.0f;
    AddFromTo(gTrackSettings, 0.0f, 4.0f, ACTION_CIRCLEY, 5.0f, 0.0f, 360.0f);
    Start(STATE_RACE_INTRO);
    auto radius = [&] { return std::hypot(camera.x - 5.0f, camera.z - 0.0f); };
    EXPECT_NEAR(camera.yaw, -180.0f, 1e-3f);
    RunTo(2.0f, 0.1f);
    EXPECT_NEAR(radius(), 10.0f, 1e-3f);
    EXPECT_NEAR(camera.z, 10.0f, 1e-3f);  // half way round
    EXPECT_FLOAT_EQ(camera.y, 3.0f);
    RunTo(4.0f, 0.1f);
    EXPECT_NEAR(camera.x, 5.0f, 1e-3f);
    EXPECT_NEAR(camera.z, -10.0f, 1e-3f);
}

TEST_F(SequenceTest, InstantActionsRunOnceWhenTheirTimeComes) {
    AddAt(gTrackSettings, 0.0f, ACTION_SETPOSITION, 1, 2, 3);
    AddAt(gTrackSettings, 0.0f, ACTION_THRUSTON);
    AddAt(gTrackSettings, 1.0f, ACTION_SETCAMPOSITION, 7, 8, 9);
    AddAt(gTrackSettings, 1.0f, ACTION_SETHEADING, 45);
    AddAt(gTrackSettings, 1.0f, ACTION_SETCAMSPEED, 0.0f);
    AddAt(gTrackSettings, 1.0f, ACTION_BRAKESON);
    AddAt(gTrackSettings, 1.0f, ACTION_THRUSTOFF);
    Start(STATE_RACE_INTRO);  // AT 0 runs in the very first update
    EXPECT_TRUE(dynamics.thrustOn);
    EXPECT_FLOAT_EQ(gVehicleTransform.z, 3.0f);
    sequence.update(0.5f);
    EXPECT_FLOAT_EQ(camera.x, 0.0f);
    sequence.update(0.6f);
    EXPECT_FLOAT_EQ(camera.z, 9.0f);
    EXPECT_FLOAT_EQ(gVehicleTransform.yaw, 45.0f);
    EXPECT_TRUE(dynamics.brakeOn);
    EXPECT_FALSE(dynamics.thrustOn);
    camera.SetPosition(0, 0, 0);
    sequence.update(0.5f);
    EXPECT_FLOAT_EQ(camera.x, 0.0f);  // not run a second time
}

// The stop hands each sequence on; Escape skips the game intro and outro through the loading screen, but
// not the race's fly-over.
TEST_F(SequenceTest, StopAndEscapeHandEachSequenceOn) {
    struct { int state, stopped, stoppedAfter, escaped, escapedAfter; } cases[] = {
        {STATE_GAME_INTRO, STATE_LOADING, STATE_MAIN_MENU, STATE_LOADING, STATE_MAIN_MENU},
        {STATE_RACE_INTRO, STATE_COUNTDOWN, 0, STATE_RACE_INTRO, 0},
        {STATE_GAME_OUTRO, STATE_PROFILE_MENU, 0, STATE_LOADING, STATE_PROFILE_MENU},
    };
    for (const auto& c : cases) {
        SetUp();
        AddAt(gTrackSettings, 0.0f, ACTION_THRUSTON);
        AddAt(gTrackSettings, 1.0f, ACTION_STOP);
        Start(c.state);
        sequence.update(0.9f);
        EXPECT_EQ(gRequestedState, c.state);
        sequence.update(0.2f);
        EXPECT_EQ(gRequestedState, c.stopped);
        EXPECT_EQ(gStateAfterLoading, c.stoppedAfter);
        EXPECT_FALSE(dynamics.thrustOn);
        SetUp();
        Start(c.state);
        sequence.onKey(27, false);
        EXPECT_EQ(gRequestedState, c.state);  // the press, not the release
        sequence.onKey(27, true);
        EXPECT_EQ(gRequestedState, c.escaped);
        EXPECT_EQ(gStateAfterLoading, c.escapedAfter);
    }
}

TEST_F(SequenceTest, CommandsAfterTheStopAreIgnoredWithALogLine) {
    GameTreeSandbox sandbox;
    AddAt(gTrackSettings, 2.0f, ACTION_STOP);
    AddAt(gTrackSettings, 3.0f, ACTION_SETPOSITION, 9, 9, 9);
    Start(STATE_RACE_INTRO);
    RunTo(4.0f, 0.5f);
    EXPECT_FLOAT_EQ(gVehicleTransform.x, 0.0f);
    EXPECT_NE(ReadText("log.txt").find("after the sequence stops"), std::string::npos);
}

TEST_F(SequenceTest, CaptionFadesInStaysAndFadesOut) {
    AddCaption(gTrackSettings, 1.0f, ACTION_SHOWTEXT, "Hello there", 0.1f, 0.5f, 0.02f);
    Start(STATE_GAME_INTRO);
    RunTo(0.875f, 0.125f);
    EXPECT_FALSE(gCaptions[0].active);
    RunTo(1.25f, 0.125f);
    ASSERT_TRUE(gCaptions[0].active);
    EXPECT_STREQ(gCaptions[0].text, "Hello there");
    EXPECT_FLOAT_EQ(gCaptions[0].alpha, 0.5f);
    EXPECT_NEAR(gCaptions[0].x, 0.1f + 0.02f * 0.375f, 1e-5f);  // drifts by z per second from its first update
    RunTo(4.0f, 0.125f);
    EXPECT_FLOAT_EQ(gCaptions[0].alpha, 1.0f);
    RunTo(6.75f, 0.125f);
    EXPECT_FLOAT_EQ(gCaptions[0].alpha, 0.5f);
    RunTo(7.0f, 0.125f);
    EXPECT_TRUE(gCaptions[0].active);  // disappears in the first update after start + 6
    sequence.update(0.125f);
    EXPECT_FALSE(gCaptions[0].active);
}

TEST_F(SequenceTest, RollTextRisesFromTheBottom) {
    AddCaption(gTrackSettings, 0.0f, ACTION_ROLLTEXT, "Credits");
    Start(STATE_GAME_OUTRO);
    RunTo(2.0f, 0.1f);
    EXPECT_FLOAT_EQ(gCaptions[0].x, 0.4f);
    EXPECT_NEAR(gCaptions[0].y, 0.05f + 0.2f, 1e-4f);
    RunTo(8.6f, 0.1f);
    EXPECT_FALSE(gCaptions[0].active);
}

TEST_F(SequenceTest, NineCaptionSlotsAndNoMore) {
    GameTreeSandbox sandbox;
    for (int i = 0; i < 10; ++i)
        AddCaption(gTrackSettings, 0.25f * i, ACTION_SHOWTEXT, "line", 0.1f, 0.1f * i);
    Start(STATE_GAME_INTRO);
    RunTo(1.875f, 0.125f);
    int active = 0;
    for (const CaptionSlot& slot : gCaptions) active += slot.active;
    EXPECT_EQ(active, 8);
    EXPECT_FLOAT_EQ(gCaptions[7].y, 0.7f);
    RunTo(2.0f, 0.125f);  // with eight showing the next takes the ninth slot
    EXPECT_TRUE(gCaptions[8].active);
    RunTo(2.25f, 0.125f);
    EXPECT_NE(ReadText("log.txt").find("No free caption slot"), std::string::npos);
    sequence.leave();
    for (const CaptionSlot& slot : gCaptions) EXPECT_FALSE(slot.active);
}

TEST_F(SequenceTest, RecordingDrivesTheVehicle) {
    GameTreeSandbox sandbox;
    WriteText(sandbox.Path("Scripts/flight.txt"),
              "TIME 0 POS 0 0 0 HEAD 0 AZM 0 TILT 0\nTIME 1 POS 10 2 0 HEAD 90 AZM 10 TILT -20\n");
    gTrackSettings.hasVehicleScript = true;
    ASSERT_TRUE(gTrackSettings.vehicleRecording.Load("../Scripts/flight.txt"));
    Start(STATE_RACE_INTRO);
    sequence.update(0.5f);
    EXPECT_FLOAT_EQ(gVehicleTransform.x, 5.0f);
    EXPECT_FLOAT_EQ(gVehicleTransform.pitch, 5.0f);  // the recording's azimuth and tilt are pitch and roll
    EXPECT_FLOAT_EQ(gVehicleTransform.roll, -10.0f);
    sequence.update(5.0f);
    EXPECT_FLOAT_EQ(gVehicleTransform.x, 10.0f);  // held at the last sample
}

TEST_F(SequenceTest, MissingRecordingHoldsTheStartPose) {
    GameTreeSandbox sandbox;
    gTrackSettings.hasVehicleScript = true;
    gTrackSettings.vehicleRecording.Load("../Scripts/nowhere.txt");
    gTrackSettings.vehicleStartPosition[0] = 4.0f;
    gTrackSettings.vehicleStartHeading = 30.0f;
    AddAt(gTrackSettings, 0.0f, ACTION_THRUSTON);
    Start(STATE_RACE_INTRO);
    RunTo(2.0f, 0.1f);
    EXPECT_FLOAT_EQ(gVehicleTransform.x, 4.0f);
    EXPECT_FLOAT_EQ(gVehicleTransform.yaw, 30.0f);
}

TEST_F(SequenceTest, WithoutRecordingTheFlightModelFliesTheModel) {
    dynamics.maxSpeed = 50.0f;
    dynamics.thrust = 10.0f;
    AddAt(gTrackSettings, 0.0f, ACTION_THRUSTON);
    Start(STATE_RACE_INTRO);
    sequence.update(1.0f);
    EXPECT_NEAR(dynamics.speed, 10.0f, 1e-3f);
    EXPECT_NEAR(gVehicleTransform.z, -10.0f, 1e-3f);  // forward along its own yaw 0
}

TEST_F(SequenceTest, LeavingPutsTheRaceCameraAboveTheVehicle) {
    gTrackSettings.vehicleStartPosition[1] = 4.0f;
    gTrackSettings.vehicleStartHeading = 60.0f;
    Start(STATE_RACE_INTRO);
    sequence.cameraSpeed = 3.0f;
    sequence.leave();
    EXPECT_FLOAT_EQ(camera.y, 5.0f);
    EXPECT_FLOAT_EQ(camera.yaw, -60.0f);
    EXPECT_FLOAT_EQ(sequence.cameraSpeed, 0.0f);
}

