// Frames per second of the race renderer's own frames at 1024x768: CGameRenderer's plain and shadowed frame
// (sky, track, lens flare and HUD, exactly as the race draws them) at poses along the fly-over (the
// autopilot's flight) of the track with the most triangles among those with a shadow-casting light. In the
// same run, the ceiling (clearing and swapping alone) and the fill limit (one full-window pass of the race's
// point-light program with fog over a textured quad, trilinear as the race's minified surfaces are, and for
// comparison the same on one mipmap level); and the plain frame again with a ghost hovering ahead
// of the camera at every pose, and the shadowed frame by z-pass-plus, the technique the game builds beside
// z-fail. Each is measured in three rounds and its best kept. Run from the game's bin folder:
//   cd game/bin && ../../build/bench/bench_render [seconds per measurement] [folder for a picture per pose]

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cmath>
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
constexpr int kRounds = 3;

// One measurement: its name; how to take it, giving frames per second at each of its poses within `seconds`
// (or, given a picture name, a picture of each pose instead); and its best figure at each pose so far.
struct Measurement {
    std::string name;
    std::function<std::vector<double>(double seconds, const char* pictureName)> take;
    std::vector<double> best = {};

    // Over all poses: total frames / total time.
    double Mean() const {
        double seconds = 0.0;
        for (double fps : best) seconds += 1.0 / fps;
        return double(best.size()) / seconds;
    }
};

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

// The back buffer as "<name>-<pose>.ppm" in folder, spaces as dashes and commas dropped: "plain-frame-0.ppm".
// llvmpipe keeps the back buffer over a swap.
void WritePicture(const char* folder, const char* name, size_t pose) {
    std::string file = std::string(name) + " " + std::to_string(pose) + ".ppm";
    file.erase(std::remove(file.begin(), file.end(), ','), file.end());
    std::replace(file.begin(), file.end(), ' ', '-');
    WritePpm((std::string(folder) + "/" + file).c_str(), kWidth, kHeight);
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

// A full-window quad through the race's point-light program with fog, textured, light 0 on, with `texels`
// texels across a pixel. The sampler reads one mipmap level where that is a power of two and blends two
// anywhere between, as on the race's receding surfaces.
struct FillPass {
    ShaderObject vertex = LoadShader("MultiPointLight.vert");
    ShaderObject fragment = LoadShader("MultiPointLightFog.frag", PointLightDefines());
    ShaderProgram program{"FillLimit"};
    unsigned texture = 0;
    float repeats = 1.0f;  // of the texture across the window's width

    FillPass(unsigned tex, float texels) : texture(tex) {
        GLint size = 1;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size);
        repeats = kWidth * texels / float(std::max(size, 1));
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
            glTexCoord2f(c[0] * repeats / 2, c[1] * repeats / 2 * kHeight / kWidth);
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
    std::unique_ptr<CStencilTechnique> zFail = std::move(game->stencil);
    // The game's other technique, which it builds but does not choose.
    std::unique_ptr<CStencilTechnique> zPassPlus = std::make_unique<CZPPlusStencilTechnique>(&game->camera);
    // The camera at pose p, and the ghost if wanted.
    auto place = [&](size_t p, bool ghost) {
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
    };
    // The race's frames at every pose, by the technique lent to the renderer (none: the plain frame).
    auto raceFrames = [&](std::unique_ptr<CStencilTechnique>* technique, bool twoSided, bool ghost) {
        return [&, technique, twoSided, ghost](double seconds, const char* pictureName) {
            if (technique) game->stencil = std::move(*technique);
            game->enter();
            gTwoSidedStencil = twoSided;
            std::vector<double> fps;
            for (size_t p = 0; p < poses.size(); ++p) {
                place(p, ghost);
                if (pictureName) {
                    game->draw();
                    WritePicture(pictures, pictureName, p);
                } else {
                    fps.push_back(FramesPerSecond([game] { game->draw(); }, seconds / kPoses));
                }
            }
            if (technique) *technique = std::move(game->stencil);
            return fps;
        };
    };
    unsigned texture = 0;
    for (const MsMaterial& m : gTrackModel.materials)
        if (!texture && m.textureId) texture = m.textureId;
    const FillPass fill(texture, std::pow(2.0f, 1.5f));
    const FillPass onLevel(texture, 2.0f);
    auto once = [](std::function<void()> frame) {
        return [frame](double seconds, const char*) { return std::vector<double>{FramesPerSecond(frame, seconds)}; };
    };
    std::vector<Measurement> all = {
        {"ceiling (clear and swap)", once([] {
             glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
             glutSwapBuffers();
         })},
        {"fill limit (one lit pass)", once([&fill] { fill.Draw(); })},
        {"  the same, on one mip level", once([&onLevel] { onLevel.Draw(); })},
        {"plain frame", raceFrames(nullptr, twoSidedOffered, false)},
        {twoSidedOffered ? "shadowed, two-sided stencil" : "shadowed, one-sided stencil",
         raceFrames(&zFail, twoSidedOffered, false)},
        {"shadowed, one-sided stencil", raceFrames(&zFail, false, false)},
        {"plain frame, ghost ahead", raceFrames(nullptr, twoSidedOffered, true)},
        {twoSidedOffered ? "shadowed, z-pass-plus two-sided" : "shadowed, z-pass-plus",
         raceFrames(&zPassPlus, twoSidedOffered, false)},
    };
    if (!twoSidedOffered) all.erase(all.begin() + 5);  // the one-sided frame is measured already

    printf("track %d: %zu triangles, %zu lights; frames per second at %d poses along its flight, the best of %d "
           "rounds\n", track.number, track.triangles, gTrackSettings.lights.size(), kPoses, kRounds);
    // Rounds over every measurement in turn, so that a slower spell of a shared machine falls on all of them
    // alike, and the best round of each is kept.
    for (int round = 0; round < kRounds; ++round)
        for (Measurement& m : all) {
            const std::vector<double> fps = m.take(seconds / kRounds, nullptr);
            m.best.resize(fps.size(), 0.0);
            for (size_t p = 0; p < fps.size(); ++p) m.best[p] = std::max(m.best[p], fps[p]);
        }
    for (Measurement& m : all) {
        printf("%-31s", m.name.c_str());
        if (m.best.size() > 1)
            for (double fps : m.best) printf(" %6.1f", fps);
        printf("   %s %7.2f fps\n", m.best.size() > 1 ? "mean" : "", m.Mean());
        if (pictures && m.best.size() > 1) m.take(0.0, m.name.c_str());
    }
    const double ceiling = all[0].Mean(), fillLimit = all[1].Mean(), fillOnLevel = all[2].Mean(),
                 plain = all[3].Mean(), shadowed = all[4].Mean(), oneSided = all[twoSidedOffered ? 5 : 4].Mean(),
                 ghost = all.end()[-2].Mean(), zPassPlusFps = all.back().Mean();
    printf("ratios: shadowed / plain %.3f, one-sided / plain %.3f, plain / fill limit %.3f, "
           "plain / fill on one mip level %.3f, fill limit / ceiling %.3f, plain / ceiling %.3f, "
           "ghost / plain %.3f, z-pass-plus / shadowed %.3f\n",
           shadowed / plain, oneSided / plain, plain / fillLimit, plain / fillOnLevel, fillLimit / ceiling,
           plain / ceiling, ghost / plain, zPassPlusFps / shadowed);
    return 0;
}
