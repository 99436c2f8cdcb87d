#include "app/frame.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

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

void CreateManagers() {
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
        GLenum glewStatus = glewInit();
        if (glewStatus != GLEW_OK)
            Log("GLEW could not be initialised: %s", reinterpret_cast<const char*>(glewGetErrorString(glewStatus)));
        // One frame per screen refresh: no core spins on frames nobody sees. Motion runs on dt regardless.
        SetSwapInterval(1);
        CreateManagers();
        if (!gSettings.fullscreen)
            PlayIntroMovie(false);
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
