#pragma once

#include "race/collision.h"
#include "race/vehicle.h"

// A vehicle definition with round numbers for working figures by hand.
inline VehicleDefinition TestVehicle() {
    VehicleDefinition def{};
    def.thrustPower = 10.0f, def.brakePower = 20.0f, def.turnPower = 2.0f;
    def.maxSpeed = 50.0f, def.maxTilt = 30.0f;
    def.engineDamageThreshold = 50, def.engineDestroyedThreshold = 100, def.damageScale = 0.2f;
    return def;
}

// A square wall in the plane z = wallZ, facing +z (towards a vehicle at larger z heading -z), spanning
// x and y from -half to half.
inline void AddWall(CollisionWorld& world, float wallZ, float half = 50.0f) {
    const float a[3] = {-half, -half, wallZ}, b[3] = {half, -half, wallZ}, c[3] = {half, half, wallZ},
                d[3] = {-half, half, wallZ};
    world.AddTriangle(a, b, c);
    world.AddTriangle(a, c, d);
    world.BuildOctree();
}
