#include "race/vehicle.h"

int gSelectedVehicle = 0;

bool LoadVehicles() {
    return true;
}

void ReleaseVehicles() {}

void ResetForRace(VehicleDynamics& dynamics) {
    dynamics.damage = 0.0f;
}
