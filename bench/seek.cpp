// How long the replay viewer takes to seek on the longest course pilot's flight: the clock moved to a time
// anywhere in the run, the pose found there and the camera placed on it, the trackside camera with its
// sight tests against the track, as a seek and the frame after it do. Beside it, the pose found by playing
// the flight from its start up to that time, as a player that replays sample by sample would. Each is timed
// over many seeks to times scattered over the run, by this thread's CPU time (a busy machine's preemptions
// are not the seek's); the worst and the median printed.
// Run from the game's bin folder: cd game/bin && ../../build/bench/bench_seek

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "data/trackscript.h"
#include "race/collision.h"
#include "race/ghost.h"
#include "race/replay.h"
#include "scene/milkshape.h"
#include "scene/transformation.h"

namespace {

constexpr int kSeeks = 2000;

double ThreadMilliseconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
}

// Milliseconds each seek took, sorted.
std::vector<double> Time(const std::vector<float>& times, const std::function<void(float)>& seek) {
    std::vector<double> ms;
    for (float t : times) {
        const double start = ThreadMilliseconds();
        seek(t);
        ms.push_back(ThreadMilliseconds() - start);
    }
    std::sort(ms.begin(), ms.end());
    return ms;
}

}  // namespace

int main() {
    int track = -1;
    for (int n = 0; n < kNumTracks; ++n) {
        VehicleRecording flight;
        if (flight.Load(PilotGhostPath(n).c_str()) &&
            (track < 0 || flight.samples.size() > gReplay.samples.size())) {
            gReplay.samples = flight.samples;
            track = n;
        }
    }
    if (track < 0) {
        fprintf(stderr, "bench_seek: no course pilot under ../Scripts (run it from the game's bin folder)\n");
        return 1;
    }
    TrackSettings settings;
    LoadTrackSettings(TrackScriptPath(track).c_str(), settings);
    CMilkshapeModel model;
    model.Load(settings.trackModel);
    std::unique_ptr<CollisionWorld> world = CollisionWorld::Build(model);
    gReplay.PlaceTracksideCameras();
    gReplay.camera = REPLAY_CAMERA_TRACKSIDE;

    std::mt19937 gen(11);
    std::uniform_real_distribution<float> anywhere(0.0f, gReplay.Length());
    std::vector<float> times(kSeeks);
    for (float& t : times) t = anywhere(gen);
    CCamera camera;
    const std::vector<double> seeks = Time(times, [&](float t) {
        gReplay.Seek(t - gReplay.clock);
        PlaceReplayCamera(gReplay, gReplay.PoseAt(gReplay.clock), world.get(), camera);
    });
    VehicleRecording flight;
    flight.samples = gReplay.samples;
    const std::vector<double> replays = Time(times, [&](float t) {
        flight.Rewind();
        for (float u = 0.0f; u < t; u += 1.0f / 60.0f) flight.Sample(u);
        flight.Sample(t);
    });
    printf("track %d: the course pilot's %.2f s in %zu poses, %zu trackside cameras, %zu triangles\n", track + 1,
           double(gReplay.Length()), gReplay.samples.size(), gReplay.trackside.size(), model.triangles.size());
    printf("seek (pose by time, camera placed, trackside sight): worst %.3f ms, median %.3f ms of %d\n",
           seeks.back(), seeks[seeks.size() / 2], kSeeks);
    printf("replayed from the start at 60 frames a second instead: worst %.3f ms, median %.3f ms\n",
           replays.back(), replays[replays.size() / 2]);
    return 0;
}
