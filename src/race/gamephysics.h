#pragma once

#include "app/states.h"

struct VehicleDynamics;

// The race itself; minimal until the race logic lands.
class CGamePhysics : public CPhysics {
public:
    void update(float) override {}
    void onKey(unsigned char key, bool down) override;
    void onMouseMove(int, int) override {}
    void create() override {}

    void PrepareRace();
    void SetDynamics(VehicleDynamics* record) { dynamics = record; }

    VehicleDynamics* dynamics = nullptr;
};
