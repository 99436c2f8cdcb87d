#include <gtest/gtest.h>

#include "app/frame.h"
#include "app/managers.h"

namespace {

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
