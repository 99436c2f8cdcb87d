#pragma once

#include <cstddef>
#include <vector>

class CCamera;
struct VehicleDynamics;

struct AutopilotPoint {
    float p[3];
};

struct AutopilotTuning {
    float maxSpeed = 1e9f;  // brakes above this
    float lookahead = 1.0f; // scales how far ahead it aims
};

// A player's inputs for one frame: the thrust and brake keys held, and relative mouse motion.
struct PilotInput {
    bool thrust = false;
    bool brake = false;
    int dx = 0, dy = 0;
};

// Follows a route of waypoints (start to goal) frame by frame; its progress along the route only moves
// forward.
struct RoutePilot {
    std::vector<AutopilotPoint> route;
    AutopilotTuning tuning;
    size_t nearest = 0;
};

// The inputs for the next frame of dt seconds, from the race camera's pose and the vehicle's flight. The
// mouse moves as far in a frame as it would at 60 frames a second in as much time.
PilotInput SteerAlongRoute(RoutePilot& pilot, const CCamera& camera, const VehicleDynamics& d, float mouseSensitivity,
                           float dt);
