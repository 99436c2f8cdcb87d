// The flight model against figures worked by hand from its formulas.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "app/states.h"
#include "data/padsettings.h"
#include "platform/gamepad.h"
#include "hud/hud.h"
#include "racetestutil.h"
#include "scene/transformation.h"
#include "testutil.h"

namespace {

class FlightModel : public ::testing::Test {
protected:
    void SetUp() override {
        gVehicles[0] = TestVehicle();
        gSelectedVehicle = 0;
        v = MakeDynamics(gVehicles[0]);
        gRequestedState = STATE_RACE;
    }
    // One 0.5 unit step at 10 units/s, nose and travel at yaw, from (0, 0, z) towards the wall z = -5.
    void HitWall(CCamera& camera, float yaw, float z) {
        CollisionWorld world;
        AddWall(world, -5.0f);
        camera.SetYaw(yaw);
        camera.viewYaw = yaw;
        camera.SetPosition(0.0f, 0.0f, z);
        v.speed = 10.0f;
        MoveVehicle(v, camera, &world, 0.5f, 0.05f);
    }
    GameTreeSandbox sandbox;  // the log goes here
    VehicleDynamics v;
};

// One step from a speed, by the controls held: thrust falls off towards the top speed and never passes it,
// braking and coasting never go below 0, thrust beats the brake, unusable numbers never reach the speed.
TEST_F(FlightModel, SpeedStepsByTheControlsHeld) {
    const struct {
        const char* name;
        bool thrust, brake;
        float maxSpeed, speed, dt, want;
    } steps[] = {
        {"thrust at 10", true, false, 50, 10, 1, 18},     // 10 + (1 - 10/50) * 10
        {"thrust for half a second", true, false, 50, 45, 0.5f, 45.5f},
        {"one long step", true, false, 50, 0, 30, 50},  // would overshoot to 300
        {"brake", false, true, 50, 30, 1, 10},
        {"brake to a stop", false, true, 50, 10, 1, 0},
        {"coast", false, false, 50, 2.5f, 1, 1.5f},  // exactly 1 unit/s per second
        {"coast to a stop", false, false, 50, 1.5f, 2, 0},
        {"thrust and brake", true, true, 50, 0, 1, 10},
        {"speed not a number", true, false, 50, NAN, 0.5f, 5},
        {"infinite time step", true, false, 50, 5, INFINITY, 5},
        {"negative time step", true, false, 50, 5, -1, 5},
        {"no MAX_SPEED in the file", true, false, 0, 0, 1, 0},
    };
    v.speed = 13.9f;
    UpdateSpeed(v, 0.0f);
    EXPECT_STREQ(gHudSpeedText, "100");  // 100.08 truncated
    EXPECT_STREQ(gHudDamageText, "0");
    for (const auto& s : steps) {
        v.thrustOn = s.thrust;
        v.brakeOn = s.brake;
        v.maxSpeed = s.maxSpeed;
        v.speed = s.speed;
        UpdateSpeed(v, s.dt);
        EXPECT_FLOAT_EQ(v.speed, s.want) << s.name;
    }
}

// Positive yaw turns the heading from -z towards +x: banking right turns right, by roll times turn power. Head-on,
// the vehicle stops where it was set back to; a glancing hit turns the travel away and costs speed; grazing costs
// nothing.
TEST_F(FlightModel, BankTurnsAndWallHitsStopTurnOrGrazeByTheirAngle) {
    CCamera bank, head, camera, along;
    bank.Roll(10.0f, v.maxTilt);
    MoveVehicle(v, bank, nullptr, 0.0f, 0.5f);  // yaw 10 * 2 * 0.5
    EXPECT_FLOAT_EQ(bank.yaw, 10.0f);
    EXPECT_FLOAT_EQ(bank.viewYaw, bank.yaw);  // the travel direction follows
    HitWall(head, 0.0f, -4.0f);  // the step ends 0.5 from the wall
    EXPECT_EQ(v.speed, 0.0f);
    EXPECT_EQ(v.damage, 31);  // (pi - pi/2) * 10^2 * 0.2 = 31.4
    EXPECT_NEAR(head.z, -3.99f, 1e-5f);  // set back 0.01, not moved on
    EXPECT_EQ(head.x, 0.0f);

    // Heading 65.4 degrees off the wall's normal: the angle between normal and heading is 2.0 radians. The step
    // starts clear of the wall and ends 0.85 from it, as a vehicle flying into a wall meets it.
    const float yaw = (kPi - 2.0f) * 180.0f / kPi, z = -4.15f + 0.5f * std::cos(kPi - 2.0f);
    v = MakeDynamics(gVehicles[0]);
    HitWall(camera, yaw, z);
    EXPECT_EQ(v.damage, 8);                           // (2.0 - pi/2) * 100 * 0.2 = 8.58
    EXPECT_NEAR(v.speed, 10.0f - 4.292f, 1e-3f);      // loses (2.0 - pi/2) * 10
    // The travel direction becomes that of heading + normal: (sin 65.4, 0, -cos 65.4) + (0, 0, 1).
    const float rx = std::sin(kPi - 2.0f), rz = 1.0f - std::cos(kPi - 2.0f);
    const float rl = std::sqrt(rx * rx + rz * rz);
    float p[3];
    camera.PointAlongView(1.0f, p);
    EXPECT_NEAR(p[0] - camera.x, rx / rl, 1e-4f);
    EXPECT_NEAR(p[2] - camera.z, rz / rl, 1e-4f);
    EXPECT_NEAR(camera.yaw, yaw, 1e-5f);  // the nose still points where it did
    // Set back 0.01 along the old travel, then pushed 0.1 off the wall.
    EXPECT_NEAR(camera.x, -0.01f * std::sin(kPi - 2.0f), 1e-5f);
    EXPECT_NEAR(camera.z, z + 0.01f * std::cos(kPi - 2.0f) + 0.1f, 1e-5f);

    // Flying along the wall, 0.5 from it: the angle is pi/2.
    v = MakeDynamics(gVehicles[0]);
    HitWall(along, 90.0f, -4.5f);
    EXPECT_EQ(v.damage, 0);
    EXPECT_NEAR(v.speed, 10.0f, 1e-4f);
}

// No response leaves the vehicle touching a surface: it only ever stands where the contact test lets it
// move, so it can never work its way through a thin wall. A restless flight in a closed room of thin
// sheets with a sharp crease for a floor, where a set-back and push used to carry it into a face.
TEST_F(FlightModel, ResponsesNeverLeaveTheVehicleTouchingASurface) {
    CollisionWorld world;
    const float room[][3][3] = {
        {{0, 0, -9}, {0, 0, 9}, {4, 10, 9}},   {{0, 0, -9}, {4, 10, 9}, {4, 10, -9}},    // the crease,
        {{0, 0, -9}, {-4, 10, 9}, {0, 0, 9}},  {{0, 0, -9}, {-4, 10, -9}, {-4, 10, 9}},  // 44 degrees wide
        {{-4, 10, -9}, {4, 10, -9}, {4, 10, 9}}, {{-4, 10, -9}, {4, 10, 9}, {-4, 10, 9}}};  // the lid
    for (const auto& t : room)
        world.AddTriangle(t[0], t[1], t[2]);
    AddWall(world, -6.0f, 20.0f);
    AddWall(world, 6.0f, 20.0f);  // both ends face +z
    std::mt19937 rng(7);
    std::normal_distribution<float> turn(0.0f, 25.0f);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    CCamera camera;
    camera.SetPosition(0.0f, 6.0f, 0.0f);
    float ignored[3], target[3];
    int contacts = 0;
    for (int step = 0; step < 20000; step++) {
        camera.SetYaw(camera.yaw + turn(rng));
        camera.viewYaw = camera.yaw;
        camera.viewPitch = std::clamp(camera.viewPitch + turn(rng), -80.0f, 80.0f);
        v = MakeDynamics(gVehicles[0]);
        v.speed = 10.0f * unit(rng);
        const float from[3] = {camera.x, camera.y, camera.z}, distance = 0.8f * unit(rng) * unit(rng);
        camera.PointAlongView(distance, target);
        contacts += world.ContactNormalBruteForce(from, target, ignored);
        MoveVehicle(v, camera, &world, distance, 0.05f);
        const float at[3] = {camera.x, camera.y, camera.z};
        ASSERT_FALSE(world.ContactNormalBruteForce(at, at, ignored)) << step << ": " << at[0] << " " << at[1];
    }
    EXPECT_GT(contacts, 2000);  // the flight did press into the walls
}

TEST_F(FlightModel, DamageWeakensTheEngineThenDestroysIt) {
    v.speed = 10.0f;
    // A head-on hit at 10 units/s: 31 damage each.
    EXPECT_NEAR(ApplyImpact(v, kPi), 31.4159f, 1e-3f);
    EXPECT_FLOAT_EQ(v.thrust, 10.0f);  // below the threshold of 50
    EXPECT_STREQ(gHudMessageText, "");
    ApplyImpact(v, kPi);
    EXPECT_EQ(v.damage, 62);
    // (100 - 62) * 10 / 100 and (100 - 62) * 20 / 100; steering is not weakened.
    EXPECT_EQ(std::vector<float>({v.thrust, v.brake, v.turn}), std::vector<float>({3.8f, 7.6f, 2.0f}));
    EXPECT_STREQ(gHudMessageText, "ENGINE DAMAGE");
    // Impacts at or below a graze, or at no angle at all, do nothing.
    EXPECT_EQ(ApplyImpact(v, kPi / 2.0f - 0.3f), 0.0f);
    EXPECT_EQ(ApplyImpact(v, std::nanf("")), 0.0f);
    // An engine beyond its destroyed threshold gives nothing rather than pulling back.
    gVehicles[0].engineDestroyedThreshold = 90;
    ApplyImpact(v, kPi);
    EXPECT_EQ(v.damage, 93);
    EXPECT_EQ(std::vector<float>({v.thrust, v.brake}), std::vector<float>({0.0f, 0.0f}));
    EXPECT_FALSE(v.destroyed);
    gVehicles[0].damageScale = 1e30f;  // an absurd impact stays in range
    ApplyImpact(v, kPi);
    EXPECT_EQ(v.damage, 100);
    EXPECT_TRUE(v.destroyed);
    EXPECT_EQ(v.turn, 0.0f);
    EXPECT_STREQ(gHudMessageText, "TERMINAL DAMAGE");

    // Four seconds later the pause menu is asked for, and again every step after.
    v.thrustOn = true;
    for (int i = 0; i < 39; ++i)
        UpdateSpeed(v, 0.1f);
    EXPECT_EQ(gRequestedState, STATE_RACE);
    EXPECT_FLOAT_EQ(v.speed, 10.0f);  // thrust held but gone: it keeps its speed
    UpdateSpeed(v, 0.11f);
    EXPECT_EQ(gRequestedState, STATE_INGAME_MENU);
    gRequestedState = STATE_RACE;
    UpdateSpeed(v, 0.01f);
    EXPECT_EQ(gRequestedState, STATE_INGAME_MENU);
}

// SDL's virtual pad, plugged in; with rumble it records the strengths it is asked for.
struct VirtualPad {
    explicit VirtualPad(bool rumble) {
        InitGamepads();
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.userdata = this;
        if (rumble)
            desc.Rumble = [](void* self, Uint16 low, Uint16) {
                static_cast<VirtualPad*>(self)->pulses.push_back(low);
                return 0;
            };
        SDL_JoystickAttachVirtualEx(&desc);
        PadState state;
        EXPECT_TRUE(ReadGamepad(state));  // sees it plugged in
    }
    ~VirtualPad() { ShutdownGamepads(); }
    std::vector<Uint16> pulses;
};

// A pad without motors is not asked to rumble at all.
TEST_F(FlightModel, ImpactsRumbleThePadByTheDamageTheyDid) {
    v.speed = 10.0f;
    {
        VirtualPad motorless(false);
        SDL_ClearError();
        ApplyImpact(v, kPi);
        EXPECT_STREQ(SDL_GetError(), "");
    }
    VirtualPad pad(true);
    v.damage = 0;
    ApplyImpact(v, kPi);                 // 31 damage
    ApplyImpact(v, kPi / 2.0f + 0.05f);  // 1
    ApplyImpact(v, kPi / 2.0f + 0.02f);  // 0.4: no damage done
    ASSERT_EQ(pad.pulses.size(), 2u);
    EXPECT_GT(pad.pulses[0], pad.pulses[1]);
    EXPECT_GT(pad.pulses[1], 0);
    gPadSettings.rumble = 0;
    ApplyImpact(v, kPi);
    gPadSettings.rumble = 1;
    EXPECT_EQ(pad.pulses.size(), 2u);
    v.damage = 100;  // nothing left to damage
    ApplyImpact(v, kPi);
    EXPECT_EQ(pad.pulses.size(), 2u);
}

// (A wall's turn, without a pitch, is the glancing hit's.)
TEST(Deflection, FloorsAndCeilingsPitchTheTravel) {
    // Diving 30 degrees onto a floor: heading + normal points 30 degrees up, a change of 60.
    const float down[3] = {0.0f, -0.5f, -0.8660254f}, floor[3] = {0.0f, 1.0f, 0.0f};
    Deflection d = Deflect(floor, down, 2.0943951f, 10.0f);
    EXPECT_NEAR(d.dPitch, 60.0f, 1e-3f);
    EXPECT_NEAR(d.dYaw, 0.0f, 1e-4f);
    EXPECT_NEAR(d.loss, 5.236f, 1e-3f);  // (2.094 - pi/2) * 10
    const float up[3] = {0.0f, 0.5f, -0.8660254f}, ceiling[3] = {0.0f, -1.0f, 0.0f};
    EXPECT_NEAR(Deflect(ceiling, up, 2.0943951f, 10.0f).dPitch, -60.0f, 1e-3f);
}

}  // namespace
