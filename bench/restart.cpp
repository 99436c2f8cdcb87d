// How long a player waits for a race on the track with the most triangles, at 1024x768 with shadows: from
// Enter on the track card to the fly-over's first frame (the loading screen: script, models, shadow volumes,
// collision world, the loading screen's own redraws), and from R in the race to the first frame of the
// countdown again (no loading), beside one race frame alone. All run through the game's own managers, key
// callbacks and frame function; each is timed over several tries and its best and median printed. Run from the game's bin folder: cd game/bin && ../../build/bench/bench_restart

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/frame.h"
#include "app/input.h"
#include "app/loading.h"
#include "app/managers.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "platform/swapinterval.h"
#include "race/raceflow.h"
#include "scene/milkshape.h"

namespace {

constexpr int kLoads = 5;
constexpr int kRestarts = 20;

struct Track {
    int number = 0;  // 0: none found
    size_t triangles = 0;
    int vehicle = 0;
};

Track MostTriangles() {
    Track best;
    for (int n = 1; n <= kNumTracks; ++n) {
        TrackSettings track;
        LoadTrackSettings(TrackScriptPath(n - 1).c_str(), track);  // a missing script gives an empty model
        CMilkshapeModel model;
        model.Load(track.trackModel);
        if (model.triangles.size() > best.triangles) best = {n, model.triangles.size(), track.requiredVehicle};
    }
    return best;
}

// Frames until the renderer has drawn `state` once; false when it never comes.
bool FramesUntil(int state) {
    for (int i = 0; i < 100; ++i) {
        FrameCallback();
        if (gRendererManager->currentState == state) {
            glFinish();
            return true;
        }
    }
    return false;
}

// Milliseconds each try of `action` took, after an untimed `prepare`, sorted; none when one failed.
std::vector<double> Time(int tries, const std::function<void()>& prepare, const std::function<bool()>& action) {
    std::vector<double> ms;
    for (int i = 0; i < tries; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        if (!action()) return {};
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    if (!LoadSettings()) {
        fprintf(stderr, "bench_restart: run it from the game tree's bin folder\n");
        return 1;
    }
    gSettings.screenWidth = 1024;
    gSettings.screenHeight = 768;
    gSettings.shadows = 1;
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowSize(gSettings.screenWidth, gSettings.screenHeight);
    glutCreateWindow("Zephyrace");
    if (glewInit() != GLEW_OK) return 1;
    SetSwapInterval(0);
    const Track track = MostTriangles();
    if (!track.number) {
        fprintf(stderr, "bench_restart: no track under ../Scripts\n");
        return 1;
    }
    gInitialised = true;  // the frame function must not play the intro movie
    gRedrawLoadingScreen = RedrawLoadingScreen;
    gRendererManager = new CRendererManager();
    gPhysicsManager = new CPhysicsManager();
    gSelectedTrack = track.number - 1;
    gSelectedVehicle = track.vehicle;

    const std::vector<double> loads = Time(
        kLoads, [] { gRequestedState = STATE_TRACK_SELECT; FrameCallback(); },
        [] {
            RequestStateViaLoading(STATE_RACE_INTRO);
            return FramesUntil(STATE_RACE_INTRO);
        });
    // Past the fly-over into the race, a few frames flown before each restart.
    const std::vector<double> restarts = Time(
        kRestarts,
        [] {
            gRequestedState = STATE_RACE;
            for (int i = 0; i < 3; ++i) FrameCallback();
        },
        [] {
            KeyboardDown(kRestartKey, 0, 0);
            KeyboardUp(kRestartKey, 0, 0);
            return FramesUntil(STATE_COUNTDOWN);
        });
    const std::vector<double> frames = Time(kRestarts, [] {}, [] {
        FrameCallback();
        glFinish();
        return true;
    });
    if (loads.empty() || restarts.empty()) {
        fprintf(stderr, "bench_restart: the race of track %d did not start or restart\n", track.number);
        return 1;
    }
    printf("track %d: %zu triangles\n", track.number, track.triangles);
    printf("race start through the loading screen (Enter to the fly-over's first frame): best %.1f ms, median "
           "%.1f ms of %d\n", loads.front(), loads[loads.size() / 2], kLoads);
    printf("restart (R to the countdown's first frame): best %.1f ms, median %.1f ms of %d\n", restarts.front(),
           restarts[restarts.size() / 2], kRestarts);
    printf("one race frame: best %.1f ms, median %.1f ms of %d\n", frames.front(), frames[frames.size() / 2],
           kRestarts);
    printf("ratios: loading screen / restart %.1f, restart / race frame %.2f\n",
           loads[loads.size() / 2] / restarts[restarts.size() / 2],
           restarts[restarts.size() / 2] / frames[frames.size() / 2]);
    return 0;
}
