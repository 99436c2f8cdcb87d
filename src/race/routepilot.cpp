#include "race/routepilot.h"

#include <algorithm>
#include <cmath>

#include "app/gamedefs.h"
#include "race/vehicle.h"
#include "scene/transformation.h"

namespace {

float WrapDegrees(float a) {
    a = std::fmod(a + 180.0f, 360.0f);
    if (a < 0.0f)
        a += 360.0f;
    return a - 180.0f;
}

float DistanceSquared(const float a[3], const float b[3]) {
    const float dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
    return dx * dx + dy * dy + dz * dz;
}

// The point `ahead` units further along the route than waypoint `from`.
void PointAhead(const std::vector<AutopilotPoint>& route, size_t from, float ahead, float out[3]) {
    size_t i = from;
    while (i + 1 < route.size() && ahead > 0.0f) {
        const float step = std::sqrt(DistanceSquared(route[i].p, route[i + 1].p));
        if (step >= ahead) {
            const float t = ahead / step;
            for (int k = 0; k < 3; k++)
                out[k] = route[i].p[k] + (route[i + 1].p[k] - route[i].p[k]) * t;
            return;
        }
        ahead -= step;
        i++;
    }
    for (int k = 0; k < 3; k++)
        out[k] = route[i].p[k];
}

// Camera yaw and pitch (degrees) that travel from `from` towards `to`.
void HeadingTowards(const float from[3], const float to[3], float& yaw, float& pitch) {
    const float dx = to[0] - from[0], dy = to[1] - from[1], dz = to[2] - from[2];
    yaw = std::atan2(dx, -dz) * kDegreesPerRadian;
    pitch = -std::atan2(dy, std::sqrt(dx * dx + dz * dz)) * kDegreesPerRadian;
}

int Clamp(float v, float limit) {
    return int(std::max(-limit, std::min(limit, v)));
}

}  // namespace

PilotInput SteerAlongRoute(RoutePilot& pilot, const CCamera& cam, const VehicleDynamics& d, float mouseSensitivity,
                           float dt) {
    PilotInput in;
    const std::vector<AutopilotPoint>& route = pilot.route;
    if (route.empty())
        return in;
    const float s = mouseSensitivity > 0.0f ? mouseSensitivity : 1.0f;
    const float pos[3] = {cam.x, cam.y, cam.z};
    size_t& nearest = pilot.nearest;
    // Progress along the route only moves forward, and only over nearby waypoints.
    for (size_t i = nearest; i < route.size() && i < nearest + 40; i++)
        if (DistanceSquared(pos, route[i].p) < DistanceSquared(pos, route[nearest].p))
            nearest = i;

    float target[3], far[3];
    const float ahead = pilot.tuning.lookahead * std::max(6.0f, std::min(22.0f, d.speed * 0.45f));
    PointAhead(route, nearest, ahead, target);
    PointAhead(route, nearest, ahead * 2.5f, far);
    float wantYaw, wantPitch, farYaw, farPitch;
    HeadingTowards(pos, target, wantYaw, wantPitch);
    HeadingTowards(pos, far, farYaw, farPitch);
    const float yawError = WrapDegrees(wantYaw - cam.yaw);
    const float bend = std::fabs(WrapDegrees(farYaw - cam.yaw)) + std::fabs(farPitch - cam.pitch);

    // Bank into the turn: the bank sets the yaw rate (roll * turn degrees per second).
    const float turn = d.turn > 0.0f ? d.turn : 1.0f;
    const float wantRoll = std::max(-d.maxTilt, std::min(d.maxTilt, yawError * 2.5f / turn));
    const float frames = dt * 60.0f;
    in.dx = Clamp((wantRoll - cam.roll) / (s * 0.07f), 80.0f * frames);
    in.dy = Clamp((wantPitch - cam.pitch) / (s * 0.15f), 60.0f * frames);

    const float speedCap = std::min(pilot.tuning.maxSpeed, bend > 70.0f ? d.maxSpeed * 0.45f
                                                           : bend > 40.0f ? d.maxSpeed * 0.7f
                                                                          : d.maxSpeed);
    in.thrust = d.speed < speedCap;
    in.brake = d.speed > speedCap * 1.1f;
    return in;
}
