#pragma once

#include <vector>

#include "race/headless.h"
#include "race/routepilot.h"

// The pose of the race camera at one moment of a flight.
struct FlightSample {
    float time;
    float pos[3];
    float yaw, pitch, roll;
};

struct AutopilotFlight {
    HeadlessOutcome outcome;
    std::vector<FlightSample> samples;  // every sampleStep seconds, and the last pose
};

// Flies a loaded headless race along a route of waypoints (start to goal) with the same inputs a player
// has: the thrust and brake flags and relative mouse motion. Returns at the goal, at the pause menu or at
// the time limit.
AutopilotFlight FlyRoute(CHeadlessRace& race, const std::vector<AutopilotPoint>& route, const AutopilotTuning& tuning,
                         float dt, float timeLimit, float sampleStep);
