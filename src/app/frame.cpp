#include "app/frame.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdlib>

#include "app/loading.h"
#include "app/log.h"
#include "app/managers.h"
#include "app/padinput.h"
#include "audio/soundmanager.h"
#include "data/settings.h"
#include "platform/clock.h"
#include "platform/gamepad.h"
#include "platform/swapinterval.h"
#include "splash/intromovie.h"

bool gInitialised = false;

namespace {

// The renderers call the OpenGL 1.5 buffer, ARB vertex-buffer and 2.0 shader entry points without asking
// first, so a context without them must not get that far.
bool GlEntryPointsPresent() {
    const GLenum status = glewInit();
    if (status != GLEW_OK) {
        Log("Zephyrace cannot start: the OpenGL entry points could not be loaded (%s)",
            reinterpret_cast<const char*>(glewGetErrorString(status)));
        return false;
    }
    if (!GLEW_VERSION_2_0 || !GLEW_ARB_vertex_buffer_object) {
        const GLubyte* version = glGetString(GL_VERSION);
        Log("Zephyrace cannot start: it needs OpenGL 2.0 shaders and buffer objects, and this display offers "
            "OpenGL %s", version ? reinterpret_cast<const char*>(version) : "of unknown version");
        return false;
    }
    return true;
}

void CreateManagers() {
    gRedrawLoadingScreen = RedrawLoadingScreen;
    gShutdownGame = Shutdown;
    gSoundManager = new CSoundManager();
    gSoundManager->Init();
    gRendererManager = new CRendererManager();
    gPhysicsManager = new CPhysicsManager();
    InitGamepads();
}

}  // namespace

void PhysicsStep(unsigned now) {
    CPhysicsManager* pm = gPhysicsManager;
    CPhysics* p = pm->current;
    const float dt = p->lastTime == 0 ? 0.0f : ElapsedSeconds(p->lastTime, now);
    p->update(dt);
    p->lastTime = now;
    if (gRequestedState != pm->currentState) {
        pm->currentState = gRequestedState;
        pm->SwitchTo(gRequestedState);
    }
}

void FrameCallback() {
    if (!gInitialised) {
        if (!GlEntryPointsPresent())
            exit(1);
        // One frame per screen refresh: no core spins on frames nobody sees. Motion runs on dt regardless.
        SetSwapInterval(1);
        CreateManagers();
        // Both forms play here, once the sound manager has opened the device the movie's sound goes to.
        PlayIntroMovie(gSettings.fullscreen != 0);
        gInitialised = true;
        return;
    }
    const uint32_t now = timeGetTime();
    PollPad(now);
    PhysicsStep(now);
    CRendererManager* rm = gRendererManager;
    if (gRequestedState != rm->currentState) {
        rm->SwitchTo(gRequestedState);
        rm->currentState = gRequestedState;
    }
    rm->current->draw();
}

void Shutdown() {
    ShutdownGamepads();
    delete gRendererManager;
    gRendererManager = nullptr;
    delete gPhysicsManager;
    gPhysicsManager = nullptr;
    if (gSoundManager) {
        gSoundManager->Shutdown();
        delete gSoundManager;
        gSoundManager = nullptr;
    }
}
