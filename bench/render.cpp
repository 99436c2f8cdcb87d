// Frames per second of the race renderer's own frames at 1024x768: CGameRenderer's plain and shadowed frame
// (sky, track, lens flare and HUD, exactly as the race draws them) at poses along the fly-over (the
// autopilot's flight) of every track with a shadow-casting light, with each track's shadowed / plain ratio
// and the worst of them. On the track with the most triangles among those, in the same run: the ceiling
// (clearing and swapping alone) and the fill limit (one full-window pass of the race's point-light program
// with fog over a textured quad, trilinear as the race's minified surfaces are, and for comparison the same
// on one mipmap level); and the plain frame again with a ghost hovering ahead of the camera at every pose,
// and the shadowed frame by one-sided stencil and by z-pass-plus, the technique the game builds beside z-fail.
// A frame is timed by the CPU time of this thread, with llvmpipe drawing in it (LP_NUM_THREADS=0), so that
// other work on a shared machine does not count; each measurement is taken in three rounds, the rounds of a
// track interleaved, and its best round kept. Run from the game's bin folder:
//   cd game/bin && ../../build/bench/bench_render [CPU seconds per measurement] [folder for a picture per pose]

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
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
#include "lighting/shadowvolume.h"
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
constexpr int kPoses = 4;
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
    std::string title;
    double plain = 0.0, shadowed = 0.0;  // mean frames per second
    double volumeFill = 0.0;             // shadow-volume fragments a pixel, mean over the poses
};

// The tracks with a shadow-casting light: without one the shadowed frame is the plain one.
std::vector<Track> SunlitTracks() {
    std::vector<Track> tracks;
    for (int n = 1; n <= kNumTracks; ++n) {
        const std::string path = TrackScriptPath(n - 1);
        if (FILE* f = fopen(path.c_str(), "r")) fclose(f);
        else continue;
        LoadTrackSettings(path.c_str(), gTrackSettings);
        if (std::none_of(gTrackSettings.lights.begin(), gTrackSettings.lights.end(),
                         [](const SceneLight& l) { return l.castsShadows; }))
            continue;
        CMilkshapeModel model;
        model.Load(gTrackSettings.trackModel);
        tracks.push_back({n, model.triangles.size(), gTrackSettings.title});
    }
    return tracks;
}

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// Frames a second of this thread's CPU time, at least two frames.
double FramesPerSecond(const std::function<void()>& frame, double seconds) {
    for (int i = 0; i < 2; ++i) frame();  // warm up caches and shader variants
    glFinish();
    int frames = 0;
    const double start = ThreadSeconds();
    double elapsed = 0.0;
    do {
        frame();
        glFinish();
        ++frames;
        elapsed = ThreadSeconds() - start;
    } while (elapsed < seconds || frames < 2);
    return frames / elapsed;
}

// The back buffer as "<name>-<pose>.ppm" in folder, spaces as dashes and commas dropped:
// "track-24-plain-frame-0.ppm".
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
    if (!gRendererManager) {
        gRendererManager = new CRendererManager();
        gPhysicsManager = new CPhysicsManager();
    }
    gSelectedTrack = track - 1;
    gStateAfterLoading = STATE_RACE_INTRO;
    gRequestedState = STATE_LOADING;
    bool loaded = false;  // a race already under way is left first
    for (int i = 0; i < 100 && !(loaded && gRendererManager->currentState == STATE_RACE); ++i) {
        FrameCallback();
        loaded = loaded || gRendererManager->currentState == STATE_LOADING;
        if (gRequestedState == STATE_RACE_INTRO) gRequestedState = STATE_RACE;
    }
    return gRendererManager->currentState == STATE_RACE ? gRendererManager->game.get() : nullptr;
}

// A full-window quad through the race's point-light program with fog, textured, light 0 on, with `texels`
// texels across a pixel. The sampler reads one mipmap level where that is a power of two and blends two
// anywhere between, as on the race's receding surfaces.
struct FillPass {
    ShaderObject vertex = LoadShader("MultiPointLight.vert");
    ShaderObject fragment = LoadShader("MultiPointLightFog.frag", LampSlotDefines(PointLightSlots()));
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

void PrintTrack(const Track& t) {
    printf("track %2d %-20s %6zu triangles  plain %7.2f  shadowed %7.2f fps  shadowed / plain %.3f  volume fill %.2f "
           "a pixel\n", t.number, t.title.c_str(), t.triangles, t.plain, t.shadowed, t.shadowed / t.plain, t.volumeFill);
}

// How many fragments the shadow volumes of the first shadow-casting light raster at the camera's pose, a
// pixel: every fragment of a volume costs a stencil update or a depth test, whether it counts or not.
double VolumeFill(CGameRenderer* game, CStencilTechnique* technique) {
    const std::vector<SceneLight>& lights = gTrackSettings.lights;
    const auto caster = std::find_if(lights.begin(), lights.end(), [](const SceneLight& l) { return l.castsShadows; });
    GLuint query = 0;
    glGenQueries(1, &query);
    BeginModelPass();
    technique->Init();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glPushMatrix();
    game->camera.Apply();
    technique->BeginStencil();
    technique->BeginVolumes(int(caster - lights.begin()));
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glBeginQuery(GL_SAMPLES_PASSED, query);
    technique->RenderVolumes(int(caster - lights.begin()));
    glEndQuery(GL_SAMPLES_PASSED);
    technique->EndStencil();
    glUseProgram(0);
    glPopMatrix();
    EndModelPass();
    GLuint fragments = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &fragments);
    glDeleteQueries(1, &query);
    return double(fragments) / (kWidth * kHeight);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;
    const char* pictures = argc > 2 ? argv[2] : nullptr;
    setenv("LP_NUM_THREADS", "0", 1);  // llvmpipe draws in this thread, so its CPU time is the frame's
    glutInit(&argc, argv);
    gSettings = DefaultSettings();
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(kWidth, kHeight);
    glutCreateWindow("Zephyrace");
    if (glewInit() != GLEW_OK) return 1;
    SetSwapInterval(0);  // as many frames as the machine can draw

    std::vector<Track> tracks = SunlitTracks();
    if (tracks.empty()) {
        fprintf(stderr, "no track with a model and a shadow-casting light under ../Scripts\n");
        return 1;
    }
    const Track& heaviest = *std::max_element(
        tracks.begin(), tracks.end(), [](const Track& a, const Track& b) { return a.triangles < b.triangles; });

    std::unique_ptr<CStencilTechnique> zFail, zPassPlus;
    bool twoSidedOffered = false;
    CGameRenderer* game = nullptr;
    std::vector<RecordingSample> poses;
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
    auto once = [](std::function<void()> frame) {
        return [frame](double seconds, const char*) { return std::vector<double>{FramesPerSecond(frame, seconds)}; };
    };
    // Rounds over every measurement in turn, so that a slower spell of a shared machine falls on all of them
    // alike, and the best round of each is kept.
    auto measure = [&](std::vector<Measurement>& all) {
        for (int round = 0; round < kRounds; ++round)
            for (Measurement& m : all) {
                const std::vector<double> fps = m.take(seconds / kRounds, nullptr);
                m.best.resize(fps.size(), 0.0);
                for (size_t p = 0; p < fps.size(); ++p) m.best[p] = std::max(m.best[p], fps[p]);
            }
    };
    auto print = [&](const std::vector<Measurement>& all, int track) {
        for (const Measurement& m : all) {
            printf("%-31s", m.name.c_str());
            if (m.best.size() > 1)
                for (double fps : m.best) printf(" %6.1f", fps);
            printf("   %s %7.2f fps\n", m.best.size() > 1 ? "mean" : "", m.Mean());
            if (pictures && m.best.size() > 1) m.take(0.0, ("track " + std::to_string(track) + " " + m.name).c_str());
        }
    };

    printf("frames per second of this thread's CPU time (llvmpipe in it) at %d poses along each flight, the best "
           "of %d rounds\n", kPoses, kRounds);
    for (Track& track : tracks) {
        game = StartRace(track.number);
        if (!zFail && game) {
            zFail = std::move(game->stencil);
            twoSidedOffered = gTwoSidedStencil;
            // The game's other technique, which it builds but does not choose.
            zPassPlus = std::make_unique<CZPPlusStencilTechnique>(&game->camera);
        }
        if (!game || !zFail || !game->trackRender || game->trackRender->staticShadows.empty()) {
            fprintf(stderr, "the race of track %d did not start with shadows\n", track.number);
            return 1;
        }
        VehicleRecording& flight = gTrackSettings.vehicleRecording;
        if (flight.Empty()) {
            fprintf(stderr, "track %d has no recorded flight\n", track.number);
            return 1;
        }
        poses.clear();
        flight.Rewind();
        for (int i = 0; i < kPoses; ++i)
            poses.push_back(flight.Sample(flight.samples.back().time * (i + 0.5f) / kPoses));
        game->stencil = std::move(zFail);
        game->enter();
        for (size_t p = 0; p < poses.size(); ++p) {
            place(p, false);
            track.volumeFill += VolumeFill(game, game->stencil.get()) / kPoses;
        }
        zFail = std::move(game->stencil);

        std::vector<Measurement> all = {
            {"plain frame", raceFrames(nullptr, twoSidedOffered, false)},
            {twoSidedOffered ? "shadowed, two-sided stencil" : "shadowed, one-sided stencil",
             raceFrames(&zFail, twoSidedOffered, false)},
        };
        if (&track != &heaviest) {
            measure(all);
            track.plain = all[0].Mean();
            track.shadowed = all[1].Mean();
            PrintTrack(track);
            if (pictures) print(all, track.number);
            continue;
        }
        // The heaviest track: the limits of this machine beside its frames, and the other ways to draw them.
        unsigned texture = 0;
        for (const MsMaterial& m : gTrackModel.materials)
            if (!texture && m.textureId) texture = m.textureId;
        const FillPass fill(texture, std::pow(2.0f, 1.5f));
        const FillPass onLevel(texture, 2.0f);
        all.insert(all.begin(),
                   {{"ceiling (clear and swap)", once([] {
                         glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                         glutSwapBuffers();
                     })},
                    {"fill limit (one lit pass)", once([&fill] { fill.Draw(); })},
                    {"  the same, on one mip level", once([&onLevel] { onLevel.Draw(); })}});
        if (twoSidedOffered) all.push_back({"shadowed, one-sided stencil", raceFrames(&zFail, false, false)});
        all.push_back({"plain frame, ghost ahead", raceFrames(nullptr, twoSidedOffered, true)});
        all.push_back({twoSidedOffered ? "shadowed, z-pass-plus two-sided" : "shadowed, z-pass-plus",
                       raceFrames(&zPassPlus, twoSidedOffered, false)});
        measure(all);
        printf("heaviest: track %d, %zu triangles, %zu lights\n", track.number, track.triangles,
               gTrackSettings.lights.size());
        print(all, track.number);
        const double ceiling = all[0].Mean(), fillLimit = all[1].Mean(), fillOnLevel = all[2].Mean(),
                     plain = all[3].Mean(), shadowed = all[4].Mean(), oneSided = all[twoSidedOffered ? 5 : 4].Mean(),
                     ghost = all.end()[-2].Mean(), zPassPlusFps = all.back().Mean();
        track.plain = plain;
        track.shadowed = shadowed;
        PrintTrack(track);
        printf("ratios: shadowed / plain %.3f, one-sided / plain %.3f, plain / fill limit %.3f, "
               "plain / fill on one mip level %.3f, fill limit / ceiling %.3f, plain / ceiling %.3f, "
               "ghost / plain %.3f, z-pass-plus / shadowed %.3f\n",
               shadowed / plain, oneSided / plain, plain / fillLimit, plain / fillOnLevel, fillLimit / ceiling,
               plain / ceiling, ghost / plain, zPassPlusFps / shadowed);
    }
    const Track& worst = *std::min_element(tracks.begin(), tracks.end(), [](const Track& a, const Track& b) {
        return a.shadowed / a.plain < b.shadowed / b.plain;
    });
    printf("worst: track %d %s, shadowed / plain %.3f of %zu tracks with a sun\n", worst.number, worst.title.c_str(),
           worst.shadowed / worst.plain, tracks.size());
    return 0;
}
