#include "race/gamephysics.h"

#include <cmath>
#include <initializer_list>

#include "app/gamedefs.h"
#include "app/log.h"
#include "audio/soundmanager.h"
#include "data/keybinding.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "race/collision.h"
#include "race/ghost.h"
#include "race/raceflow.h"
#include "race/sequence.h"
#include "race/vehicle.h"
#include "scene/milkshape.h"
#include "scene/transformation.h"

CMilkshapeModel gTrackModel;

VehiclePose Capture(const CCamera& c) {
    return {c.x, c.y, c.z, c.yaw, c.pitch, c.roll, c.viewYaw, c.viewPitch};
}

void Restore(CCamera& c, const VehiclePose& p) {
    c.SetPosition(p.x, p.y, p.z);
    c.SetYaw(p.yaw);
    c.SetPitch(p.pitch);
    c.SetRoll(p.roll);
    c.viewYaw = p.viewYaw;
    c.viewPitch = p.viewPitch;
}

namespace {

bool IsFinite(const VehiclePose& p) {
    for (float v : {p.x, p.y, p.z, p.yaw, p.pitch, p.roll, p.viewYaw, p.viewPitch})
        if (!std::isfinite(v))
            return false;
    return true;
}

}  // namespace

CGamePhysics::CGamePhysics(CCamera* camera, VehicleDynamics* dynamics) : camera(camera), dynamics(dynamics) {}

CGamePhysics::~CGamePhysics() = default;

bool InGoalZone(const float p[3]) {
    const TrackSettings& t = gTrackSettings;
    for (int i = 0; i < 3; ++i)
        if (!(t.goalMin[i] <= p[i] && p[i] <= t.goalMax[i]))
            return false;
    return true;
}

void CGamePhysics::onKey(unsigned char key, bool down) {
    if (down && key == kKeyEscape)
        gRequestedState = STATE_INGAME_MENU;
    // G shows or hides the ghost and R restarts, unless the player has made them driving keys.
    if (MatchBinding(key, false, down) || !down)
        return;
    if (LowerCaseKey(key) == kGhostKey)
        gGhostShown = !gGhostShown;
    else if (IsRestartKey(key, false))
        RestartRace();
}

void CGamePhysics::onSpecialKey(int key, bool down) {
    if (down && IsRestartKey(key, true))
        RestartRace();
    else if (down && key == kKeyPadY)
        gGhostShown = !gGhostShown;
    else
        MatchBinding(key, true, down);
}

bool CGamePhysics::MatchBinding(int key, bool special, bool down) {
    const float held = down ? 1.0f : 0.0f;
    switch (MatchKeyBinding(gSettings.keys, NUM_BINDINGS, key, special)) {
    case BINDING_FORWARD: dynamics->thrustOn = down; break;
    case BINDING_BRAKE: dynamics->brakeOn = down; break;
    case BINDING_LEFT: turnLeftTime = held; break;
    case BINDING_RIGHT: turnRightTime = held; break;
    case BINDING_UP: turnUpTime = held; break;
    case BINDING_DOWN: turnDownTime = held; break;
    default: return false;
    }
    return true;
}

void CGamePhysics::onMouseMove(int dx, int dy) {
    const float s = gSettings.mouseSensitivity;
    camera->Pitch(float(dy) * s * 0.15f);
    camera->Roll(float(dx) * s * 0.07f, dynamics->maxTilt);
}

void CGamePhysics::update(float dt) {
    if (!std::isfinite(dt) || dt < 0.0f) {
        Log("Race: ignoring the frame time %f", double(dt));
        return;
    }
    if (dt > kMaxFrameTime) {
        Log("Race: a frame of %.3f s is simulated as %.3f s", double(dt), double(kMaxFrameTime));
        dt = kMaxFrameTime;
    }
    Step(dt);
}

void CGamePhysics::Step(float dt) {
    if (!IsFinite(Capture(*camera)) || !std::isfinite(dynamics->speed)) {
        Log("Race: the vehicle's position, heading or speed is not a number; it stops at its last good place");
        Restore(*camera, lastGoodPose);
        dynamics->speed = 0.0f;
    }
    const float distance = dynamics->speed * dt;
    if (distance >= kMaxStepDistance) {
        Step(dt * 0.5f);
        Step(dt * 0.5f);
        return;
    }
    // A held turn key acts like a mouse moving 12 (sideways) or 6 (up/down) pixels a step, growing with the
    // square root of the time held.
    struct TurnKey {
        float* held;
        float dx, dy;
    };
    const TurnKey keys[] = {{&turnLeftTime, -12.0f, 0.0f},
                            {&turnRightTime, 12.0f, 0.0f},
                            {&turnUpTime, 0.0f, -6.0f},
                            {&turnDownTime, 0.0f, 6.0f}};
    for (const TurnKey& k : keys) {
        if (*k.held > 0.0f) {
            *k.held += dt;
            const float r = std::sqrt(*k.held);
            onMouseMove(int(r * k.dx), int(r * k.dy));
        }
    }
    UpdateSpeed(*dynamics, dt);
    if (gSoundManager)
        gSoundManager->SetEngineSound(dynamics->speed * dynamics->speed * 0.002f + 0.4f);

    const VehiclePose before = Capture(*camera);
    const float oldPos[3] = {before.x, before.y, before.z};
    MoveVehicle(*dynamics, *camera, collisionWorld.get(), distance, dt);
    steps++;
    const VehiclePose after = Capture(*camera);
    if (IsFinite(after)) {
        lastGoodPose = after;
    } else {
        Log("Race: a motion step gave a position or heading that is not a number; the step is undone");
        Restore(*camera, before);
        dynamics->speed = 0.0f;
    }
    if (InGoalZone(oldPos))
        gRequestedState = STATE_RACE_COMPLETED;
}

void CGamePhysics::ReturnToStart() {
    SeatAtRaceStart(*camera);
    lastGoodPose = Capture(*camera);
    turnLeftTime = turnRightTime = turnUpTime = turnDownTime = 0.0f;
}

void CGamePhysics::PrepareRace() {
    collisionWorld.reset();
    auto world = std::make_unique<CollisionWorld>();
    world->CollectTriangles(gTrackModel);
    ShowLoadingProgress(75);
    world->BuildOctree();
    ShowLoadingProgress(100);
    collisionWorld = std::move(world);
    turnLeftTime = turnRightTime = turnUpTime = turnDownTime = 0.0f;
}
