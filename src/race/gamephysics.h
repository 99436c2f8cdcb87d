#pragma once

#include <memory>

#include "app/states.h"

class CCamera;
class CMilkshapeModel;
class CollisionWorld;
struct VehicleDynamics;

// The last loaded track model: drawn by the race renderer, collided with by the race logic.
extern CMilkshapeModel gTrackModel;

// No motion step moves the vehicle this far or more; longer steps are halved until they fit.
constexpr float kMaxStepDistance = 0.8f;
// A longer frame (a stalled machine) is simulated as this long, so a clock jump cannot freeze the game
// running millions of steps.
constexpr float kMaxFrameTime = 10.0f;

// Where the vehicle is and where it heads: what a step that went wrong is rolled back to.
struct VehiclePose {
    float x, y, z, yaw, pitch, roll, viewYaw, viewPitch;
};
VehiclePose Capture(const CCamera& camera);
void Restore(CCamera& camera, const VehiclePose& pose);

// The race: input to thrust, brake and steering, the flight model, the goal zone.
class CGamePhysics : public CPhysics {
public:
    CGamePhysics(CCamera* camera, VehicleDynamics* dynamics);
    ~CGamePhysics() override;

    void update(float dt) override;
    void onKey(unsigned char key, bool down) override;
    void onSpecialKey(int key, bool down) override;
    void onMouseMove(int dx, int dy) override;

    // Builds the collision world of the freshly loaded gTrackModel (loading progress 75 and 100).
    void PrepareRace();
    void SetDynamics(VehicleDynamics* record) { dynamics = record; }
    // Back on the start line for another run, with no turn key held.
    void ReturnToStart();

    std::unique_ptr<CollisionWorld> collisionWorld;  // null until the first race is loaded
    CCamera* camera;                                 // the race renderer's, not owned
    VehicleDynamics* dynamics;                       // record of gSelectedVehicle, not owned
    // 0 while the key is up, otherwise 1 + seconds held.
    float turnLeftTime = 0.0f;
    float turnRightTime = 0.0f;
    float turnUpTime = 0.0f;
    float turnDownTime = 0.0f;
    VehiclePose lastGoodPose = {};
    unsigned long steps = 0;  // motion steps run, sub-steps counted singly

private:
    void Step(float dt);
    bool MatchBinding(int key, bool special, bool down);  // false when no binding has that key
};

// Whether p lies in the goal box of the loaded track (bounds inclusive).
bool InGoalZone(const float p[3]);
