#pragma once

#include "app/gamedefs.h"

class LensFlare;
class TextureManager;

// Vector helpers on float[3].
void Normalize(float v[3], float out[3]);  // v is divided in place, then copied to out; zero length is not guarded
float Length(const float v[3]);

// Axis-aligned box with an optional bounding sphere that, once frozen, no longer follows AddPoint.
struct BoundingBox {
    float min[3] = {99999.0f, 99999.0f, 99999.0f};
    float max[3] = {-99999.0f, -99999.0f, -99999.0f};
    bool hasSphere = false;
    float center[3] = {0.0f, 0.0f, 0.0f};
    float radius = 0.0f;

    void AddPoint(float x, float y, float z);
    void Center(float out[3]) const;
    float Radius() const;
    bool Contains(float x, float y, float z) const;  // bounds inclusive
    bool Overlaps(const BoundingBox& other) const;   // boxes that only touch overlap
    bool InReachOf(const float p[3], float reach) const;  // the sphere comes within reach of p
    void Freeze();                                   // stores Center() and Radius() as the sphere
};

// A placement by value: position, then yaw, pitch and roll in degrees.
struct Pose {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float yaw = 0.0f, pitch = 0.0f, roll = 0.0f;
};

// The vehicle model is the race camera turned round (its angles negated), kEyeHeight lower; each pose gives
// the other.
Pose VehiclePoseOfCamera(const Pose& camera);
Pose CameraPoseOfVehicle(const Pose& vehicle);

// Position plus yaw (about Y), pitch (about X) and roll (about Z) in degrees, applied as GL matrix calls.
class CTransformation {
public:
    virtual ~CTransformation() = default;

    virtual void Apply();          // object-to-world: translate, then yaw, pitch, roll
    virtual void Reset();
    virtual void ApplyRotation();  // roll, pitch, yaw; no translation
    virtual void Translate(float dx, float dy, float dz);
    virtual void SetPosition(float nx, float ny, float nz);
    virtual void Pitch(float delta);  // clamped to [-90, 90]
    virtual void Yaw(float delta);    // no wrap-around
    virtual void SetPitch(float angle);
    virtual void SetYaw(float angle);
    virtual void SetRoll(float angle);
    virtual void Roll(float delta, float limit);
    // Unit image of +Z under yaw then pitch; writes out and returns it.
    virtual float* GetDirection(float out[3]);
    Pose GetPose() const { return {x, y, z, yaw, pitch, roll}; }

    float x = 0.0f, y = 0.0f, z = 0.0f;
    float yaw = 0.0f, pitch = 0.0f, roll = 0.0f;
};

// The view transform; owns the lens flare of a track with a sun.
class CCamera : public CTransformation {
public:
    explicit CCamera(TextureManager* textures = nullptr);
    CCamera(const CCamera&) = delete;
    CCamera& operator=(const CCamera&) = delete;

    void Apply() override;  // world-to-eye: roll, pitch, yaw, then translate by -position
    void Reset() override;
    float* GetDirection(float out[3]) override;  // from the looked-at point back towards the eye

    void MoveAlongView(float d);                       // position -= d * view direction
    void PointAlongView(float d, float out[3]) const;  // where MoveAlongView(d) would go
    // Builds the lens flare once the loaded track has a sun, unless the settings switch it off (after Reset,
    // at each race load).
    void EnsureLensFlare();
    // Draws the flare for this frame's view when there is one and the track has a sun.
    void UpdateLensFlare();
    // Deletes the flare. The flare lives in a layer above the camera's, so its owner is released by the race
    // renderer, whose camera alone builds one, when it goes.
    void ReleaseLensFlare();

    // Reset, then level where the race camera rides on a vehicle model posed at `vehicle`.
    void SeatOn(const Pose& vehicle);

    LensFlare* lensFlare = nullptr;  // owned; null until a track with a sun is loaded
    TextureManager* textureManager = nullptr;
    float viewYaw = 0.0f;
    float viewPitch = 0.0f;
};

// The side and near planes of the current model-view and projection, as (a, b, c, d) with unit normals
// pointing into the view. No far plane: the shadowed frame's projection has none.
struct ViewPlanes {
    static constexpr int kCount = 5;
    float planes[kCount][4];
    bool Outside(const float center[3], float radius) const;  // the sphere lies wholly outside one plane
};
ViewPlanes CurrentViewPlanes();
