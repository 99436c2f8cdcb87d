#pragma once

// Minimal vehicle records until the flight model lands.
struct VehicleDynamics {
    float damage = 0.0f;
};

constexpr int kNumVehicles = 4;
extern int gSelectedVehicle;

bool LoadVehicles();
void ReleaseVehicles();
void ResetForRace(VehicleDynamics& dynamics);
