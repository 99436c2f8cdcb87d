// Frames per second of the plain and the shadowed frame at 1024x768, on the generated track with the most
// triangles, from the camera start of its script (or the place given by the environment variables
// BENCH_VIEW="x y z yaw pitch"). Between them, the shadowed frame's passes with no stencil work shows
// what the volumes themselves cost. Then the race renderer's own plain frame (HUD included) from the same
// place, without and with a ghost flying ahead. Run from the game's bin folder:
//   cd game/bin && ../../build/bench/bench_render [seconds per measurement]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "../tests/tools/shadowframe.h"
#include "data/settings.h"
#include "hud/bitmapfont.h"
#include "hud/hudtimer.h"
#include "lighting/shadowvolume.h"
#include "race/gamerenderer.h"
#include "race/ghost.h"
#include "race/vehicle.h"
#include "scene/milkshape.h"
#include "scene/texturemanager.h"

namespace {

// The race renderer's frame without shadows: one pass, lit by the sun as light 0.
void DrawPlainRaceFrame(const ShadowScene& scene) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    scene.camera->Apply();
    if (gTrackSettings.hasSun) {
        glEnable(GL_LIGHT0);
        SetupRaceLight(gTrackSettings.sun, *scene.camera);
    }
    scene.model->Draw(true, true, true);
    glPopMatrix();
}

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kMaxTracks = 24;

struct Track {
    int number = 0;
    size_t triangles = 0;
};

Track HeaviestTrack() {
    Track best;
    char path[64];
    for (int n = 1; n <= kMaxTracks; ++n) {
        snprintf(path, sizeof path, "../Scripts/track%d.txt", n);
        if (FILE* f = fopen(path, "r")) fclose(f);
        else continue;
        LoadTrackSettings(path, gTrackSettings);
        CMilkshapeModel model;
        model.Load(gTrackSettings.trackModel);
        if (model.triangles.size() > best.triangles) best = {n, model.triangles.size()};
    }
    return best;
}

// Frames drawn and shown (frame swaps the buffers) per second.
double FramesPerSecond(const std::function<void()>& frame, double seconds) {
    using Clock = std::chrono::steady_clock;
    for (int i = 0; i < 3; ++i) frame();  // warm up caches and shader variants
    glFinish();
    int frames = 0;
    const auto start = Clock::now();
    double elapsed = 0.0;
    do {
        frame();
        glFinish();
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < seconds);
    return frames / elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    if (!OpenSceneWindow(argc, argv, kWidth, kHeight, "render bench")) return 1;

    const Track track = HeaviestTrack();
    if (!track.number) {
        fprintf(stderr, "no track with a model under ../Scripts\n");
        return 1;
    }
    char path[64];
    snprintf(path, sizeof path, "../Scripts/track%d.txt", track.number);
    LoadTrackSettings(path, gTrackSettings);
    auto model = std::make_unique<CMilkshapeModel>();
    model->Load(gTrackSettings.trackModel);
    TextureManager textures;
    CCamera camera;
    camera.SetPosition(gTrackSettings.camStartPosition[0], gTrackSettings.camStartPosition[1],
                       gTrackSettings.camStartPosition[2]);
    camera.SetYaw(gTrackSettings.camStartHeading);
    camera.SetPitch(gTrackSettings.camStartPitch);
    if (const char* view = getenv("BENCH_VIEW")) {
        float v[5];
        if (sscanf(view, "%f %f %f %f %f", &v[0], &v[1], &v[2], &v[3], &v[4]) == 5) {
            camera.SetPosition(v[0], v[1], v[2]);
            camera.SetYaw(v[3]);
            camera.SetPitch(v[4]);
        }
    }

    const auto buildStart = std::chrono::steady_clock::now();
    RenderModel render(&textures, &camera, model.get(), false, true, true);
    const double buildSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - buildStart).count();
    int volumes = 0, quads = 0, capTriangles = 0;
    for (const auto& v : render.staticShadows) {
        if (!v) continue;
        for (const auto& g : v->groupVolumes) {
            if (!g) continue;
            ++volumes;
            quads += g->quadCount;
            capTriangles += g->capIndexCount / 3;
        }
    }
    BeginSceneState(kWidth, kHeight, gTrackSettings.ambientColor);

    const bool twoSidedOffered = glewIsSupported("GL_EXT_stencil_two_side");
    CZFailStencilTechnique zfail(&camera);
    zfail.AddCaster(&render);
    auto shown = [](void (*draw)(const ShadowScene&), ShadowScene scene) {
        return [draw, scene] {
            draw(scene);
            glutSwapBuffers();
        };
    };
    const double plain = FramesPerSecond(shown(DrawPlainRaceFrame, {&render, &camera, nullptr}), seconds);
    const double passes = FramesPerSecond(shown(DrawSceneFrame, {&render, &camera, nullptr}), seconds);
    gTwoSidedStencil = twoSidedOffered;
    const double shadowed = FramesPerSecond(shown(DrawSceneFrame, {&render, &camera, &zfail}), seconds);
    gTwoSidedStencil = false;
    const double oneSided = FramesPerSecond(shown(DrawSceneFrame, {&render, &camera, &zfail}), seconds);

    // The race renderer's plain frame, as the race draws it, from the same place, without and with a ghost of
    // the first vehicle hovering ten units ahead (where all of it is drawn); in turns, best of three each, so
    // that a shared machine's swings fall on both alike.
    gSettings.screenWidth = kWidth;
    gSettings.screenHeight = kHeight;
    gSettings.aspectRatio = float(kWidth) / float(kHeight);
    gSettings.shadows = 0;
    gStateAfterLoading = STATE_RACE_INTRO;  // a track race: the HUD is loaded
    gRequestedState = STATE_RACE;
    RegisterPrivateFont();
    CGameRenderer game(&textures);
    game.init();
    LoadVehicles(&textures, &game.camera);
    game.LoadRace(path, "../Scripts/hud1.txt");
    game.camera.SetPosition(camera.x, camera.y, camera.z);
    game.camera.SetYaw(camera.yaw);
    game.camera.SetPitch(camera.pitch);
    game.enter();
    gRaceClock = 1000;
    float ahead[3];
    game.camera.PointAlongView(10.0f, ahead);
    const RecordingSample hover = {ahead[0], ahead[1] - kEyeHeight, ahead[2], 0.0f, -camera.yaw, 0.0f, 0.0f};
    gGhost.vehicle = 0;
    double race = 0.0, ghost = 0.0;
    for (int turn = 0; turn < 3; ++turn) {
        gGhost.path.samples.clear();
        race = std::max(race, FramesPerSecond([&] { game.draw(); }, seconds / 3));
        gGhost.path.samples = {hover};
        ghost = std::max(ghost, FramesPerSecond([&] { game.draw(); }, seconds / 3));
    }
    ReleaseVehicles();

    printf("track %d: %zu triangles, %zu lights, %d group volumes, %d side quads, %d cap triangles, built in %.2f s\n",
           track.number, track.triangles, gTrackSettings.lights.size(), volumes, quads, capTriangles, buildSeconds);
    printf("plain frame (one pass):                  %7.2f fps\n", plain);
    printf("shadowed frame's passes without stencil: %7.2f fps   ratio to plain %.3f\n", passes, passes / plain);
    printf("shadowed frame (%s):              %7.2f fps   ratio to plain %.3f\n",
           twoSidedOffered ? "two-sided" : "one-sided", shadowed, shadowed / plain);
    printf("shadowed frame (one-sided):              %7.2f fps   ratio to plain %.3f\n", oneSided, oneSided / plain);
    printf("race renderer's plain frame, HUD:        %7.2f fps\n", race);
    printf("the same with a ghost ahead:             %7.2f fps   ratio to no ghost %.3f\n", ghost, ghost / race);
    return 0;
}
