#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/frame.h"
#include "app/managers.h"
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
        gTrackSettings = TrackSettings();
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

    GameTreeSandbox sandbox;
    CCamera camera;
    VehicleDynamics dynamics;
    CRaceIntroAnimationPhysics sequence{&camera};
};

// Records what the managers do to it.
class CProbePhysics : public CPhysics {
public:
    void update(float dt) override { lastDt = dt; }
    void enter() override { CPhysics::enter(), enters++; }
    void leave() override { CPhysics::leave(), leaves++; }

    float lastDt = -1.0f;
    int enters = 0, leaves = 0;
};

// Puts a probe in the manager's place for one state.
CProbePhysics& Probe(std::unique_ptr<CPhysics>& slot) {
    slot = std::make_unique<CProbePhysics>();
    return static_cast<CProbePhysics&>(*slot);
}

}  // namespace

// Every spreading action, and the music's fade from full to silence: at its start nothing has changed, halfway
// half, at the end all of it, even when a frame runs past the end.
TEST_F(SequenceTest, SpreadActionsAreExactAtStartMiddleAndEnd) {
    const struct {
        int action;
        float value;
        std::function<float(const SequenceTest&)> read;
        float expectedAtEnd;
    } cases[] = {
        {ACTION_CHANGEHEADING, 90.0f, [](const SequenceTest&) { return gVehicleTransform.yaw; }, 90.0f},
        {ACTION_CHANGECAMHEADING, 90.0f, [](const SequenceTest& t) { return t.camera.yaw; }, -90.0f},
        {ACTION_CHANGEPITCH, 40.0f, [](const SequenceTest&) { return gVehicleTransform.pitch; }, 40.0f},
        {ACTION_CHANGECAMPITCH, 40.0f, [](const SequenceTest& t) { return t.camera.pitch; }, -40.0f},
        {ACTION_CHANGECAMSPEED, 8.0f, [](const SequenceTest& t) { return t.sequence.cameraSpeed; }, 8.0f},
        {ACTION_FADEMUSIC, 0.0f,
         [](const SequenceTest& t) {
             return 1.0f - MusicFadeFactor(gTrackSettings.animationCommands[0], t.sequence.elapsed);
         },
         1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ActionName(c.action));
        SetUp();
        AddFromTo(gTrackSettings, 1.0f, 3.0f, c.action, c.value);
        Start(STATE_RACE_INTRO);
        RunTo(1.0f, 0.25f);
        EXPECT_NEAR(c.read(*this), 0.0f, 1e-4f);
        RunTo(2.0f, 0.25f);
        EXPECT_NEAR(c.read(*this), c.expectedAtEnd * 0.5f, 1e-3f);
        RunTo(3.1f, 0.3f);  // the last frame, from 2.9 to 3.2, counts only up to 3
        EXPECT_NEAR(c.read(*this), c.expectedAtEnd, 1e-3f);
        RunTo(4.0f, 0.3f);
        EXPECT_NEAR(c.read(*this), c.expectedAtEnd, 1e-3f);  // nothing more after the end
    }
}

// A circle keeps its radius and ends where it began. A change without length applies at once; a vehicle recording
// that is missing holds the start pose; commands after the stop are ignored with a log line. (The pitch's clamp is
// the transformation's own, tested there.)
TEST_F(SequenceTest, CircleEndsWhereItBeganZeroLengthChangesApplyAtOnceAndCommandsAfterTheStopNever) {
    const float start[3] = {5.0f, 3.0f, -10.0f};
    std::copy(start, start + 3, gTrackSettings.camStartPosition);
    AddFromTo(gTrackSettings, 0.0f, 4.0f, ACTION_CIRCLEY, 5.0f, 0.0f, 360.0f);
    gTrackSettings.hasVehicleScript = true;
    gTrackSettings.vehicleRecording.Load("../Scripts/nowhere.txt");
    gTrackSettings.vehicleStartPosition[0] = 4.0f;
    AddAt(gTrackSettings, 0.0f, ACTION_THRUSTON);
    AddFromTo(gTrackSettings, 0.5f, 0.5f, ACTION_CHANGEHEADING, 30.0f);
    AddAt(gTrackSettings, 4.5f, ACTION_STOP);
    AddAt(gTrackSettings, 5.0f, ACTION_SETPOSITION, 9, 9, 9);
    Start(STATE_RACE_INTRO);
    EXPECT_NEAR(camera.yaw, -180.0f, 1e-3f);
    RunTo(2.0f, 0.1f);
    EXPECT_NEAR(camera.x, 5.0f, 1e-3f);  // half way round, 10 from the centre (5, 0)
    EXPECT_NEAR(camera.z, 10.0f, 1e-3f);
    EXPECT_FLOAT_EQ(camera.y, 3.0f);
    RunTo(4.0f, 0.1f);
    EXPECT_NEAR(camera.x, 5.0f, 1e-3f);
    EXPECT_NEAR(camera.z, -10.0f, 1e-3f);
    RunTo(6.0f, 0.5f);
    EXPECT_NEAR(gVehicleTransform.yaw, 30.0f, 1e-4f);
    EXPECT_FLOAT_EQ(gVehicleTransform.x, 4.0f);
    EXPECT_TRUE(Logged("after the sequence stops"));
}

TEST_F(SequenceTest, NineCaptionSlotsAndNoMore) {
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
    EXPECT_TRUE(Logged("No free caption slot"));
    sequence.leave();
    for (const CaptionSlot& slot : gCaptions) EXPECT_FALSE(slot.active);
}

TEST(StateSwitch, FirstUpdateGetsZeroDtTheClockWrapsAndAnUnknownIdReentersTheCurrentState) {
    const auto manager = std::make_unique<CPhysicsManager>();
    CProbePhysics& sequence = Probe(manager->sequence);
    CProbePhysics& countdown = Probe(manager->countdown);
    gPhysicsManager = manager.get();
    manager->current = &countdown;
    manager->currentState = STATE_COUNTDOWN;
    gRequestedState = STATE_COUNTDOWN;
    PhysicsStep(0xFFFFFF00u);
    EXPECT_EQ(countdown.lastDt, 0.0f);
    PhysicsStep(0x64);  // across the counter's wrap
    EXPECT_FLOAT_EQ(countdown.lastDt, 0.356f);
    gRequestedState = STATE_GAME_INTRO;
    PhysicsStep(5300);  // the update that requests runs first, then the switch
    EXPECT_EQ(manager->current, &sequence);
    PhysicsStep(90000);
    EXPECT_EQ(sequence.lastDt, 0.0f);  // first update after entering, however long ago
    gRequestedState = 42;  // unknown: the current object is left and entered again
    PhysicsStep(90100);
    EXPECT_EQ(manager->current, &sequence);
    EXPECT_EQ(sequence.leaves, 1);
    EXPECT_EQ(sequence.enters, 2);
    gPhysicsManager = nullptr;
}
