// Frames per second of the race renderer's own frames at 1024x768: CGameRenderer's plain and shadowed frame
// (sky, track, lens flare and HUD, exactly as the race draws them) at poses along the fly-over (the
// autopilot's flight) of the track with the most triangles among those with a shadow-casting light. In the
// same run, the ceiling (clearing and swapping alone) and the fill limit (one full-window pass of the race's
// point-light program with fog over a textured quad); and the plain frame again with a ghost hovering ahead
// of the camera at every pose, and the shadowed frame by z-pass-plus, the technique the game builds beside
// z-fail. Run from the game's bin folder:
//   cd game/bin && ../../build/bench/bench_render [seconds per measurement] [folder for a picture per pose]

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../tests/tools/sceneview.h"
#include "app/frame.h"
#include "app/managers.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "lighting/shader.h"
#include "lighting/stenciltechnique.h"
#include "platform/swapinterval.h"
#include "race/gamephysics.h"
#include "race/gamerenderer.h"
#include "race/ghost.h"
#include "race/raceflow.h"
#include "scene/milkshape.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kPoses = 6;

struct Track {
    int number = 0;
    size_t triangles = 0;
};

Track HeaviestTrack() {
    Track best;
    for (int n = 1; n <= kNumTracks; ++n) {
        const std::string path = TrackScriptPath(n - 1);
        if (FILE* f = fopen(path.c_str(), "r")) fclose(f);
        else continue;
        LoadTrackSettings(path.c_str(), gTrackSettings);
        // A track without a shadow-casting light draws its shadowed frame as the plain one.
        if (std::none_of(gTrackSettings.lights.begin(), gTrackSettings.lights.end(),
                         [](const SceneLight& l) { return l.castsShadows; }))
            continue;
        CMilkshapeModel model;
        model.Load(gTrackSettings.trackModel);
        if (model.triangles.size() > best.triangles) best = {n, model.triangles.size()};
    }
    return best;
}

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

// The game's own way into a race of the track, with the fly-over skipped: the loading state loads it and
// the race state draws it. No sound manager: the race runs silent without one.
CGameRenderer* StartRace(int track) {
    gInitialised = true;  // the frame function must not play the intro movie
    gRendererManager = new CRendererManager();
    gPhysicsManager = new CPhysicsManager();
    gSelectedTrack = track - 1;
    gStateAfterLoading = STATE_RACE_INTRO;
    gRequestedState = STATE_LOADING;
    for (int i = 0; i < 100 && gRendererManager->currentState != STATE_RACE; ++i) {
        FrameCallback();
        if (gRequestedState == STATE_RACE_INTRO) gRequestedState = STATE_RACE;
    }
    return gRendererManager->currentState == STATE_RACE ? gRendererManager->game : nullptr;
}

// A full-window quad through the race's point-light program with fog, textured, light 0 on.
struct FillPass {
    ShaderObject vertex = LoadShader("MultiPointLight.vert");
    ShaderObject fragment = LoadShader("MultiPointLightFog.frag", PointLightDefines());
    ShaderProgram program{"FillLimit"};
    unsigned texture = 0;

    explicit FillPass(unsigned tex) : texture(tex) {
        program.Attach(&vertex);
        program.Attach(&fragment);
        program.Link();
        LitProgram lit;
        lit.Locate(program.id);
        glUseProgram(program.id);
        const float fog[4] = {0.5f, 0.5f, 0.6f, 1.0f};
        glUniform4fv(lit.fogColor, 1, fog);
        glUniform1f(glGetUniformLocation(program.id, "fogDensity"), 0.005f);
        glUniform1f(lit.lightZero, 1.0f);
        glUseProgram(0);
    }
    void Draw() const {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glBindTexture(GL_TEXTURE_2D, texture);
        glUseProgram(program.id);
        glBegin(GL_TRIANGLE_STRIP);
        glNormal3f(0.0f, 0.0f, 1.0f);
        const float corners[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
        for (const auto& c : corners) {
            glTexCoord2f(c[0] * 4.0f, c[1] * 3.0f);
            glVertex3f(c[0], c[1], -0.5f);
        }
        glEnd();
        glUseProgram(0);
        glEnable(GL_DEPTH_TEST);
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glutSwapBuffers();
    }
};

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    const char* pictures = argc > 2 ? argv[2] : nullptr;
    glutInit(&argc, argv);
    gSettings = DefaultSettings();
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(kWidth, kHeight);
    glutCreateWindow("Zephyrace");
    if (glewInit() != GLEW_OK) return 1;
    SetSwapInterval(0);  // as many frames as the machine can draw

    const Track track = HeaviestTrack();
    if (!track.number) {
        fprintf(stderr, "no track with a model and a shadow-casting light under ../Scripts\n");
        return 1;
    }
    CGameRenderer* game = StartRace(track.number);
    if (!game || !game->stencil) {
        fprintf(stderr, "the race of track %d did not start with shadows\n", track.number);
        return 1;
    }
    VehicleRecording& flight = gTrackSettings.vehicleRecording;
    if (flight.Empty()) {
        fprintf(stderr, "track %d has no recorded flight\n", track.number);
        return 1;
    }
    std::vector<RecordingSample> poses;
    flight.Rewind();
    for (int i = 0; i < kPoses; ++i) poses.push_back(flight.Sample(flight.samples.back().time * (i + 0.5f) / kPoses));

    const bool twoSidedOffered = gTwoSidedStencil;
    std::unique_ptr<CStencilTechnique> stencil = std::move(game->stencil);
    // frame(pose) for each pose; the frames per second over all of them (total frames / total time).
    auto measure = [&](const char* name, bool shadowed, bool twoSided, bool ghost = false) {
        if (shadowed) game->stencil = std::move(stencil);
        game->enter();
        gTwoSidedStencil = twoSided;
        double totalSeconds = 0.0;
        printf("%-28s", name);
        for (size_t p = 0; p < poses.size(); ++p) {
            const RecordingSample& s = poses[p];
            game->camera.SetPosition(s.x, s.y, s.z);
            game->camera.SetYaw(s.yaw);
            game->camera.SetPitch(s.pitch);
            game->camera.SetRoll(s.roll);
            gGhost.path.samples.clear();
            if (ghost) {  // ten units ahead, where all of it is drawn
                float ahead[3];
                game->camera.PointAlongView(10.0f, ahead);
                const Pose v = VehiclePoseOfCamera({ahead[0], ahead[1], ahead[2], s.yaw});
                gGhost.path.samples = {{v.x, v.y, v.z, 0.0f, v.yaw, v.pitch, v.roll}};
            }
            const double fps = FramesPerSecond([game] { game->draw(); }, seconds / kPoses);
            totalSeconds += 1.0 / fps;
            printf(" %6.1f", fps);
            if (pictures) {
                game->draw();
                std::string file = std::string(name) + " " + std::to_string(p) + ".ppm";  // "plain-frame-0.ppm"
                file.erase(std::remove(file.begin(), file.end(), ','), file.end());
                std::replace(file.begin(), file.end(), ' ', '-');
                const std::string path = std::string(pictures) + "/" + file;
                WritePpm(path.c_str(), kWidth, kHeight);  // llvmpipe keeps the back buffer over a swap
            }
        }
        if (shadowed) stencil = std::move(game->stencil);
        const double fps = poses.size() / totalSeconds;
        printf("   mean %7.2f fps\n", fps);
        return fps;
    };

    printf("track %d: %zu triangles, %zu lights; frames per second at %d poses along its flight\n", track.number,
           track.triangles, gTrackSettings.lights.size(), kPoses);
    const double ceiling = FramesPerSecond(
        [] {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glutSwapBuffers();
        },
        seconds);
    printf("ceiling (clear and swap):    %7.2f fps\n", ceiling);
    unsigned texture = 0;
    for (const MsMaterial& m : gTrackModel.materials)
        if (!texture && m.textureId) texture = m.textureId;
    const FillPass fill(texture);
    const double fillLimit = FramesPerSecond([&fill] { fill.Draw(); }, seconds);
    printf("fill limit (one lit pass):   %7.2f fps\n", fillLimit);
    const double plain = measure("plain frame", false, twoSidedOffered);
    const double shadowed = measure(twoSidedOffered ? "shadowed, two-sided stencil" : "shadowed, one-sided stencil",
                                    true, twoSidedOffered);
    const double oneSided = twoSidedOffered ? measure("shadowed, one-sided stencil", true, false) : shadowed;
    const double ghost = measure("plain frame, ghost ahead", false, twoSidedOffered, true);
    // The game's other technique, which it builds but does not choose.
    stencil = std::make_unique<CZPPlusStencilTechnique>(&game->camera);
    const double zPassPlus = measure(twoSidedOffered ? "shadowed, z-pass-plus two-sided" : "shadowed, z-pass-plus",
                                     true, twoSidedOffered);
    printf("ratios: shadowed / plain %.3f, one-sided / plain %.3f, plain / fill limit %.3f, "
           "fill limit / ceiling %.3f, plain / ceiling %.3f, "
           "ghost / plain %.3f, z-pass-plus / shadowed %.3f\n",
           shadowed / plain, oneSided / plain, plain / fillLimit, fillLimit / ceiling, plain / ceiling,
           ghost / plain, zPassPlus / shadowed);
    return 0;
}
