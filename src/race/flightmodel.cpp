// The flight model: speed from thrust, brake and drag, motion with banked turns, and the collision
// response with its damage.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/gamedefs.h"
#include "app/log.h"
#include "app/states.h"
#include "audio/soundmanager.h"
#include "data/padsettings.h"
#include "hud/hud.h"
#include "hud/hudtexts.h"
#include "platform/gamepad.h"
#include "race/collision.h"
#include "race/vehicle.h"
#include "scene/transformation.h"

namespace {

constexpr float kGrazingAngle = 1.570796f;  // radians between a surface's normal and a flight along it
constexpr float kCoastingDrag = 1.0f;          // units/s lost per second without thrust or brake
constexpr float kSpeedToKmh = 2.0f * 3.6f;     // a world unit is half a metre
constexpr float kStepBack = 0.01f;             // how far a contact sets the vehicle back
constexpr float kPushOff = 0.1f;               // how far a glancing hit pushes it off the surface
constexpr float kDestroyedDelay = 4.0f;
// A pad's pulse on impact: the faintest one that is still felt, up to full strength at a heavy impact's damage.
constexpr float kFaintestRumble = 0.25f;
constexpr float kFullRumbleDamage = 35.0f;
constexpr uint32_t kRumbleMilliseconds = 200;

}  // namespace

int ImpactSoundFor(float damage) {
    if (damage < 3.0f)
        return SOUND_IMPACT_SMALL;
    if (damage < 10.0f)
        return SOUND_IMPACT_MEDIUM;
    if (damage < 35.0f)
        return SOUND_IMPACT_HEAVY;
    return SOUND_IMPACT_SEVERE;
}

VehicleDynamics MakeDynamics(const VehicleDefinition& def) {
    VehicleDynamics v;
    v.thrustPower = def.thrustPower;
    v.brakePower = def.brakePower;
    v.maxSpeed = def.maxSpeed;
    v.turnPower = def.turnPower;
    v.maxTilt = def.maxTilt;
    ResetForRace(v);
    return v;
}

void ResetForRace(VehicleDynamics& v) {
    v.speed = 0.0f;
    v.thrustOn = v.brakeOn = false;
    v.damage = 0;
    v.thrust = v.thrustPower;
    v.brake = v.brakePower;
    v.turn = v.turnPower;
    v.destroyed = false;
    v.destroyedTimer = kDestroyedDelay;
    gHudSpeedText[0] = gHudDamageText[0] = gHudMessageText[0] = '\0';
}

void UpdateSpeed(VehicleDynamics& v, float dt) {
    if (!std::isfinite(dt) || dt < 0.0f) {
        Log("Flight model: ignoring the time step %f", double(dt));
        dt = 0.0f;
    }
    if (!std::isfinite(v.speed) || v.speed < 0.0f) {
        Log("Flight model: speed %f is not usable, the vehicle stops", double(v.speed));
        v.speed = 0.0f;
    }
    if (v.thrustOn) {
        // Gains fall off towards the top speed; without one (a bad vehicle file) the vehicle cannot move.
        v.speed = v.maxSpeed > 0.0f ? v.speed + (1.0f - v.speed / v.maxSpeed) * v.thrust * dt : 0.0f;
        v.speed = std::min(v.speed, v.maxSpeed);
    } else if (v.brakeOn) {
        v.speed = std::max(v.speed - v.brake * dt, 0.0f);
    } else {
        v.speed = std::max(v.speed - kCoastingDrag * dt, 0.0f);
    }
    snprintf(gHudSpeedText, sizeof(gHudSpeedText), "%d", int(v.speed * kSpeedToKmh));
    snprintf(gHudDamageText, sizeof(gHudDamageText), "%d", int(v.damage));
    if (v.destroyed) {
        v.destroyedTimer -= dt;
        if (v.destroyedTimer <= 0.0f)
            gRequestedState = STATE_INGAME_MENU;
    }
}

float ApplyImpact(VehicleDynamics& v, float angle) {
    const VehicleDefinition& def = SelectedVehicleDefinition();
    float d = (angle - kGrazingAngle) * v.speed * v.speed * def.damageScale;
    if (!(d > 0.0f))  // also catches NaN
        d = 0.0f;
    // Anything from 100 up destroys the vehicle; capping first keeps the sum in range.
    const int damage = std::min(int(v.damage) + int(std::min(d, 100.0f)), 100);
    const int done = damage - v.damage;
    v.damage = int16_t(damage);
    if (gSoundManager)
        gSoundManager->PlayEffect(ImpactSoundFor(d));
    if (done > 0 && gPadSettings.rumble)
        RumblePad(kFaintestRumble + (1.0f - kFaintestRumble) * std::min(done / kFullRumbleDamage, 1.0f),
                  kRumbleMilliseconds);
    if (damage > def.engineDamageThreshold) {
        // The engine loses power towards the destroyed threshold; past it, it gives nothing rather than
        // pulling backwards.
        const float left = std::max(float(def.engineDestroyedThreshold - damage), 0.0f);
        v.thrust = left * v.thrustPower / 100.0f;
        v.brake = left * v.brakePower / 100.0f;
        snprintf(gHudMessageText, sizeof(gHudMessageText), "%s", kEngineDamageMessage);
    }
    if (damage >= 100) {
        v.thrust = v.brake = v.turn = 0.0f;
        snprintf(gHudMessageText, sizeof(gHudMessageText), "%s", kTerminalDamageMessage);
        v.destroyed = true;
    }
    return d;
}

Deflection Deflect(const float N[3], const float F[3], float angle, float speed) {
    const float R[3] = {F[0] + N[0], F[1] + N[1], F[2] + N[2]};
    Deflection out;
    // The turn in heading is the signed angle between the x-z projections of F and R.
    out.dYaw = std::atan2(F[0] * R[2] - F[2] * R[0], F[0] * R[0] + F[2] * R[2]) * kDegreesPerRadian;
    // The turn in pitch is the change of elevation. (Measured between the y-z projections instead, a heading
    // whose z part changes sign, as on a wall facing along z, would be pitched a half turn back into it.)
    const float elevationF = std::atan2(F[1], std::sqrt(F[0] * F[0] + F[2] * F[2]));
    const float elevationR = std::atan2(R[1], std::sqrt(R[0] * R[0] + R[2] * R[2]));
    out.dPitch = (elevationR - elevationF) * kDegreesPerRadian;
    out.loss = std::fabs((angle - kGrazingAngle) * speed);
    return out;
}

void MoveVehicle(VehicleDynamics& v, CCamera& camera, CollisionWorld* world, float distance, float dt) {
    const float oldPos[3] = {camera.x, camera.y, camera.z};
    float target[3];
    camera.PointAlongView(distance, target);
    float N[3];
    if (!world || !world->ContactNormal(oldPos, target, N)) {
        camera.MoveAlongView(distance);
        camera.Yaw(camera.roll * v.turn * dt);
        camera.viewYaw = camera.yaw;
        camera.viewPitch = camera.pitch;
        return;
    }
    float F[3];
    camera.GetDirection(F);
    for (float& c : F)
        c = -c;
    // Rounding can take the dot product of two unit vectors just past 1, where acos has no answer.
    const float cosine = std::clamp(N[0] * F[0] + N[1] * F[1] + N[2] * F[2], -1.0f, 1.0f);
    const float angle = std::acos(cosine);
    ApplyImpact(v, angle);
    camera.MoveAlongView(-kStepBack);
    if (angle > kHardHitAngle) {
        v.speed = 0.0f;
    } else {
        const Deflection turn = Deflect(N, F, angle, v.speed);
        camera.viewYaw += turn.dYaw;
        camera.viewPitch -= turn.dPitch;
        v.speed = std::max(v.speed - turn.loss, 0.0f);
        camera.Translate(kPushOff * N[0], kPushOff * N[1], kPushOff * N[2]);
    }
    // The set-back and the push are not moves the contact test has passed: against a face turned along the
    // motion, or in a crease, they lead into a surface, and step after step through a thin wall. One that
    // lands in contact is not taken; the vehicle stays where it was, clear of every surface.
    const float landed[3] = {camera.x, camera.y, camera.z};
    float unused[3];
    if (world->ContactNormal(oldPos, landed, unused))
        camera.SetPosition(oldPos[0], oldPos[1], oldPos[2]);
}
