#include "race/replay.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "app/gamedefs.h"
#include "app/log.h"
#include "audio/soundmanager.h"
#include "data/profile.h"
#include "data/trackscript.h"
#include "race/collision.h"
#include "race/gamephysics.h"
#include "race/ghost.h"
#include "race/raceflow.h"
#include "race/vehicle.h"
#include "scene/transformation.h"

const char* const kReplayCameraNames[REPLAY_CAMERAS] = {"Race view", "Chase camera", "Trackside camera",
                                                         "Orbit camera"};
const float kReplaySpeeds[kReplaySpeedCount] = {0.25f, 0.5f, 1.0f, 2.0f};
Replay gReplay;
int gReplayReturnState = STATE_TRACK_SELECT;

namespace {

constexpr float kChaseDistance = 7.0f;
constexpr float kChaseHeight = 2.5f;
constexpr float kOrbitDistance = 9.0f;
constexpr float kOrbitDegreesPerPixel = 0.3f;
constexpr float kOrbitLowest = -10.0f, kOrbitHighest = 80.0f;
// Trackside places along the route, every so far, this far to alternate sides and this high.
constexpr float kTracksideSpacing = 60.0f;
constexpr float kTracksideSide = 10.0f;
constexpr float kTracksideHeight = 4.0f;
// The nearest places are tried for a clear sight of the vehicle, in steps of this length.
constexpr int kSightTries = 4;
constexpr float kSightStep = 1.5f;

// The best run read at the next load for the viewer, rather than a run already in memory.
bool gWatchBest = false;
// Where the results were drawn from.
VehiclePose gResultsView = {};

// The vehicle's heading on the level, where its nose points.
void Heading(float yawDegrees, float out[3]) {
    const float a = yawDegrees / kDegreesPerRadian;
    out[0] = -std::sin(a);
    out[1] = 0.0f;
    out[2] = -std::cos(a);
}

void LookAt(CCamera& camera, const float eye[3], const float target[3]) {
    float d[3] = {target[0] - eye[0], target[1] - eye[1], target[2] - eye[2]};
    const float length = Length(d);
    camera.Reset();
    camera.SetPosition(eye[0], eye[1], eye[2]);
    if (length <= 0.0f)
        return;
    camera.SetYaw(std::atan2(d[0], -d[2]) * kDegreesPerRadian);
    camera.SetPitch(-std::asin(std::clamp(d[1] / length, -1.0f, 1.0f)) * kDegreesPerRadian);
}

// Whether nothing of the track lies on the way from a to b.
bool ClearSight(CollisionWorld& world, const float a[3], const float b[3]) {
    float d[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const int steps = std::max(1, int(Length(d) / kSightStep));
    float previous[3] = {a[0], a[1], a[2]};
    float normal[3];
    for (int i = 1; i < steps; ++i) {
        const float u = float(i) / float(steps);
        const float p[3] = {a[0] + u * d[0], a[1] + u * d[1], a[2] + u * d[2]};
        if (world.ContactNormal(previous, p, normal))
            return false;
        std::copy(p, p + 3, previous);
    }
    return true;
}

// The trackside place nearest the target that sees it (the nearest when none of the tried ones does).
const Pose* TracksidePlace(const std::vector<Pose>& places, const float target[3], CollisionWorld* sight) {
    if (places.empty())
        return nullptr;
    std::vector<size_t> order(places.size());
    std::iota(order.begin(), order.end(), size_t(0));
    auto distance2 = [&](size_t i) {
        const float d[3] = {places[i].x - target[0], places[i].y - target[1], places[i].z - target[2]};
        return d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    };
    const size_t tried = std::min(order.size(), size_t(kSightTries));
    std::partial_sort(order.begin(), order.begin() + tried, order.end(),
                      [&](size_t a, size_t b) { return distance2(a) < distance2(b); });
    for (size_t k = 0; sight && k < tried; ++k) {
        const float from[3] = {places[order[k]].x, places[order[k]].y, places[order[k]].z};
        if (ClearSight(*sight, from, target))
            return &places[order[k]];
    }
    return &places[order[0]];
}

}  // namespace

RecordingSample Replay::PoseAt(float t) const {
    if (samples.empty())
        return {};
    const auto next = std::upper_bound(samples.begin(), samples.end(), t,
                                       [](float time, const RecordingSample& s) { return time < s.time; });
    if (next == samples.begin())
        return samples.front();
    if (next == samples.end())
        return samples.back();
    return Interpolate(*(next - 1), *next, t);
}

void Replay::Seek(float seconds) {
    clock = std::clamp(clock + seconds, 0.0f, Length());
}

void Replay::ChangeSpeed(int steps) {
    speed = std::clamp(speed + steps, 0, kReplaySpeedCount - 1);
}

void Replay::NextCamera() {
    camera = (camera + 1) % REPLAY_CAMERAS;
}

void Replay::Advance(float dt) {
    if (!paused)
        Seek(dt * kReplaySpeeds[speed]);
}

void Replay::PlaceTracksideCameras() {
    trackside.clear();
    float travelled = kTracksideSpacing;  // a place at the start line
    for (size_t i = 0; i < samples.size(); ++i) {
        const RecordingSample& s = samples[i];
        if (i > 0) {
            const float d[3] = {s.x - samples[i - 1].x, s.y - samples[i - 1].y, s.z - samples[i - 1].z};
            travelled += ::Length(d);
        }
        if (travelled < kTracksideSpacing)
            continue;
        travelled = 0.0f;
        float ahead[3];
        Heading(s.yaw, ahead);
        const float side = trackside.size() % 2 ? kTracksideSide : -kTracksideSide;
        trackside.push_back({s.x - ahead[2] * side, s.y + kTracksideHeight, s.z + ahead[0] * side});
    }
}

void PlaceReplayCamera(const Replay& replay, const RecordingSample& s, CollisionWorld* sight, CCamera& camera) {
    const float target[3] = {s.x, s.y + kEyeHeight, s.z};
    float ahead[3];
    Heading(s.yaw, ahead);
    float eye[3] = {target[0], target[1], target[2]};
    switch (replay.camera) {
    case REPLAY_CAMERA_CHASE:
        for (int i = 0; i < 3; ++i) eye[i] -= ahead[i] * kChaseDistance;
        eye[1] += kChaseHeight;
        break;
    case REPLAY_CAMERA_TRACKSIDE:
        if (const Pose* place = TracksidePlace(replay.trackside, target, sight)) {
            eye[0] = place->x;
            eye[1] = place->y;
            eye[2] = place->z;
        }
        break;
    case REPLAY_CAMERA_ORBIT: {
        const float yaw = (s.yaw + replay.orbitYaw) / kDegreesPerRadian;
        const float pitch = replay.orbitPitch / kDegreesPerRadian;
        eye[0] += kOrbitDistance * std::sin(yaw) * std::cos(pitch);
        eye[1] += kOrbitDistance * std::sin(pitch);
        eye[2] += kOrbitDistance * std::cos(yaw) * std::cos(pitch);
        break;
    }
    default: {
        const Pose seat = CameraPoseOfVehicle({s.x, s.y, s.z, s.yaw, s.pitch, s.roll});
        camera.Reset();
        camera.SetPosition(seat.x, seat.y, seat.z);
        camera.SetYaw(seat.yaw);
        camera.SetPitch(seat.pitch);
        camera.SetRoll(seat.roll);
        return;
    }
    }
    LookAt(camera, eye, target);
}

bool ReplayShowsVehicle(const Replay& replay) {
    return replay.camera != REPLAY_CAMERA_RACE && !replay.samples.empty();
}

void WatchLastRun(float raceTime, const CCamera& camera) {
    gResultsView = Capture(camera);
    gReplay = Replay();
    gReplay.samples = FinishedRun(gGhost.run, raceTime);
    gReplay.vehicle = SelectedVehicleIndex();
    gReplayReturnState = STATE_RACE_COMPLETED;
    gWatchBest = false;
    RequestStateViaLoading(STATE_REPLAY);
}

bool WatchBestRun() {
    const int track = gSelectedTrack;
    if (track < 0 || track >= kNumTracks || !HasBestRun(gProfile.name, track, gProfile.bestTimes[track]))
        return false;
    gReplay = Replay();
    gReplayReturnState = STATE_TRACK_SELECT;
    gWatchBest = true;
    RequestStateViaLoading(STATE_REPLAY);
    return true;
}

void PrepareReplay() {
    if (!gWatchBest)
        return;
    gWatchBest = false;
    Ghost best;
    if (LoadGhost(best, gProfile.name, gSelectedTrack, gProfile.bestTimes[gSelectedTrack], gTrackSettings)) {
        gReplay.samples = std::move(best.path.samples);
        gReplay.vehicle = best.vehicle;
    }
}

void CReplayPhysics::enter() {
    CPhysics::enter();
    if (gReplay.samples.empty()) {
        Log("Replay: there is no run to watch");
        gRequestedState = gReplayReturnState;
        return;
    }
    Log("Replay: watching %.2f s of track %d", double(gReplay.Length()), gSelectedTrack + 1);
    if (gSoundManager)
        gSoundManager->StopEngine();
    gReplay.PlaceTracksideCameras();
    update(0.0f);
}

void CReplayPhysics::leave() {
    CPhysics::leave();
    // The results are drawn from where the run ended, as they were before the viewer opened.
    if (gReplayReturnState == STATE_RACE_COMPLETED && race)
        Restore(*race->camera, gResultsView);
}

void CReplayPhysics::update(float dt) {
    gReplay.Advance(dt);
    if (race && !gReplay.samples.empty())
        PlaceReplayCamera(gReplay, gReplay.PoseAt(gReplay.clock), race->collisionWorld.get(), *race->camera);
}

void CReplayPhysics::onKey(unsigned char key, bool down) {
    if (!down)
        return;
    if (key == ' ' || key == kKeyEnter)  // a pad's A is Enter
        gReplay.paused = !gReplay.paused;
    else if (key == kKeyEscape)
        gRequestedState = gReplayReturnState;
    else if (key == 'c' || key == 'C')
        gReplay.NextCamera();
}

void CReplayPhysics::onSpecialKey(int key, bool down) {
    if (!down)
        return;
    switch (key) {
    case kKeyLeft: gReplay.Seek(-kReplaySeekSeconds); break;
    case kKeyRight: gReplay.Seek(kReplaySeekSeconds); break;
    case kKeyUp: gReplay.ChangeSpeed(1); break;
    case kKeyDown: gReplay.ChangeSpeed(-1); break;
    case kKeyPadY: gReplay.NextCamera(); break;
    default: break;
    }
}

void CReplayPhysics::onMouseMove(int dx, int dy) {
    if (gReplay.camera != REPLAY_CAMERA_ORBIT)
        return;
    gReplay.orbitYaw += float(dx) * kOrbitDegreesPerPixel;
    gReplay.orbitPitch = std::clamp(gReplay.orbitPitch + float(dy) * kOrbitDegreesPerPixel, kOrbitLowest,
                                    kOrbitHighest);
}
