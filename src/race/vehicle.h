#pragma once

#include <cstdint>
#include <cstdio>

#include "app/gamedefs.h"
#include "data/profile.h"  // gSelectedVehicle, which the profile mirrors

class CCamera;
class CMilkshapeModel;
class CollisionWorld;
class RenderModel;
class TextureManager;

// A vehicle file names this many settings: 13 numbers, NAME, ENGINE and DESCRIPTION.
constexpr int kVehicleSettingCount = 16;

// One vehicle file; index i of gVehicles holds "../Scripts/vehicle<i+1>.txt".
struct VehicleDefinition {
    char name[64];
    char engine[64];
    char description[384];
    int32_t price;
    int32_t damagePrice;  // repair price per damage percent
    int32_t weight;
    int32_t horsePower;
    int32_t topSpeed;  // shown in menus; the flight model uses maxSpeed
    CMilkshapeModel* model;      // owned
    RenderModel* renderObject;   // owned
    float thrustPower;  // units/s^2
    float brakePower;   // units/s^2
    float turnPower;    // yaw rate per degree of roll, 1/s
    float maxSpeed;     // units/s
    float maxTilt;      // roll limit, degrees
    int32_t engineDamageThreshold;     // damage percent above which the engine weakens
    int32_t engineDestroyedThreshold;  // damage percent at which the weakened engine gives nothing
    float damageScale;  // damage per radian of impact angle per (unit/s)^2
};

extern VehicleDefinition gVehicles[kNumVehicles];

// The flight-model state of one vehicle; the race camera is its position.
struct VehicleDynamics {
    float thrustPower = 0.0f;
    float brakePower = 0.0f;
    float maxSpeed = 0.0f;
    float turnPower = 0.0f;
    float maxTilt = 0.0f;
    float thrust = 0.0f;  // lowered by engine damage
    float brake = 0.0f;
    float turn = 0.0f;    // 0 once destroyed
    float speed = 0.0f;   // never negative
    int16_t damage = 0;   // percent, 0..100
    bool thrustOn = false;
    bool brakeOn = false;
    bool destroyed = false;
    float destroyedTimer = 4.0f;  // seconds until the pause menu opens after terminal damage
};

// Reads one vehicle file into def (fields it does not name are left as they are). Logs
// "Failed to load <path>" and returns false when it cannot be opened; a wrong setting count and values
// the flight model cannot use are logged, and unusable values are replaced by safe ones.
bool ReadVehicleFile(const char* path, VehicleDefinition& def);
void ParseVehicleFile(FILE* file, const char* path, VehicleDefinition& def);
// Replaces the values the flight model cannot work with (non-finite, negative, out of range), one log
// line each; returns how many were replaced.
int SanitizeVehicle(const char* path, VehicleDefinition& def);

// Reads the four vehicle files and models. Render objects are built only with a texture manager (the game
// always has one; tests without a GL context pass none).
void LoadVehicles(TextureManager* textures, CCamera* camera);
void ReleaseVehicles();

// The flight-model record of a freshly loaded definition; the powers are copied only here.
VehicleDynamics MakeDynamics(const VehicleDefinition& def);
// gSelectedVehicle, or 0 (logged, and stored back) when it names no vehicle, say from a damaged profile.
int SelectedVehicleIndex();
const VehicleDefinition& SelectedVehicleDefinition();

void ResetForRace(VehicleDynamics& v);
// Speed change from thrust, brake or drag over dt; HUD texts; the countdown to the pause menu once
// destroyed.
void UpdateSpeed(VehicleDynamics& v, float dt);
// One motion step of the camera (the vehicle) by distance (< 0.8, from the speed before this step's
// UpdateSpeed), with the collision response.
void MoveVehicle(VehicleDynamics& v, CCamera& camera, CollisionWorld* world, float distance, float dt);
// Damage and its consequences for a contact at angle (radians between the surface normal and the heading);
// returns the damage the impact caused before truncation.
float ApplyImpact(VehicleDynamics& v, float angle);

// The impact sound of a contact that did this much damage (every contact sounds, even one of no damage).
int ImpactSoundFor(float damage);

// How a glancing hit turns the travel direction (degrees) and how much speed it costs.
struct Deflection {
    float dYaw;
    float dPitch;
    float loss;
};
Deflection Deflect(const float N[3], const float F[3], float angle, float speed);

// Impact angles above this (radians) stop the vehicle dead; at or below it the vehicle glances off.
constexpr float kHardHitAngle = 2.4f;
