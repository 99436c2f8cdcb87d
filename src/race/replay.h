#pragma once

#include <vector>

#include "app/states.h"
#include "race/recording.h"
#include "scene/transformation.h"

class CCamera;
class CGamePhysics;
class CollisionWorld;

// The replay viewer: a recorded run flown again on its track, watched from one of several cameras, paused,
// sped up or slowed down and sought through. It races nothing and saves nothing.

enum { REPLAY_CAMERA_RACE, REPLAY_CAMERA_CHASE, REPLAY_CAMERA_TRACKSIDE, REPLAY_CAMERA_ORBIT, REPLAY_CAMERAS };
extern const char* const kReplayCameraNames[REPLAY_CAMERAS];
constexpr int kReplaySpeedCount = 4;
extern const float kReplaySpeeds[kReplaySpeedCount];
constexpr int kReplayNormalSpeed = 2;  // 1x
// Left and Right jump this far on the replay clock.
constexpr float kReplaySeekSeconds = 5.0f;
// The key on the track card and the results that opens the viewer.
constexpr unsigned char kWatchKey = 'w';

struct Replay {
    std::vector<RecordingSample> samples;  // times in order
    int vehicle = 0;
    float clock = 0.0f;
    int speed = kReplayNormalSpeed;  // index into kReplaySpeeds
    bool paused = false;
    int camera = REPLAY_CAMERA_RACE;
    float orbitYaw = 0.0f, orbitPitch = 20.0f;  // degrees around the vehicle, from behind and above
    std::vector<Pose> trackside;  // camera places along the run's route

    float Length() const { return samples.empty() ? 0.0f : samples.back().time; }
    // The pose at the replay clock, found by its time (a binary search), so any seek costs the same.
    RecordingSample PoseAt(float t) const;
    void Seek(float seconds);       // by that much, kept within the run
    void ChangeSpeed(int steps);    // up or down the speeds, stopping at either end
    void NextCamera();
    void Advance(float dt);         // the clock on by dt at the speed unless paused; it stops at the end
    // A camera place every so far along the route, set off to its side and above it.
    void PlaceTracksideCameras();
};

// The run the viewer shows, and the state it returns to.
extern Replay gReplay;
extern int gReplayReturnState;

// Watches the run just flown, ended at the race time (kept in memory from the race), from the results;
// coming back, the race camera is put back as it is.
void WatchLastRun(float raceTime, const CCamera& camera);
// Watches the profile's best run of the selected track from its card; false when it has none.
bool WatchBestRun();
// After the track is loaded for the viewer: reads the best run when that is what is watched.
void PrepareReplay();

// The camera of one view of the replay at its pose; sight tests which trackside place sees the vehicle.
void PlaceReplayCamera(const Replay& replay, const RecordingSample& pose, CollisionWorld* sight, CCamera& camera);
// Whether the vehicle model is drawn: not from its own seat.
bool ReplayShowsVehicle(const Replay& replay);

class CReplayPhysics : public CPhysics {
public:
    void update(float dt) override;
    void onKey(unsigned char key, bool down) override;
    void onSpecialKey(int key, bool down) override;
    void onMouseMove(int dx, int dy) override;
    void enter() override;
    void leave() override;  // back at the screen that opened it, the race camera as it was left

    CGamePhysics* race = nullptr;  // its camera and collision world; not owned
};
