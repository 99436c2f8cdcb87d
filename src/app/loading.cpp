#include "app/loading.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <string>

#include "app/managers.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "hud/bitmapfont.h"
#include "hud/draw2d.h"
#include "menus/mainmenu.h"
#include "platform/clock.h"
#include "race/gamephysics.h"
#include "race/gamerenderer.h"
#include "race/raceflow.h"
#include "race/replay.h"
#include "race/vehicle.h"
#include "scene/glstate.h"

void CLoadPhysics::enter() {
    CPhysics::enter();
    gLoadingProgress = 0;
}

void CLoadPhysics::update(float) {
    const int target = gStateAfterLoading;
    CRendererManager* renderers = gRendererManager;
    const bool replay = target == STATE_REPLAY;
    if (target == STATE_GAME_INTRO || target == STATE_RACE_INTRO || target == STATE_GAME_OUTRO || replay) {
        // The viewer keeps the race it may return to: the vehicle's damage, the HUD and its clock, the ghost.
        if (!replay)
            for (VehicleDynamics& d : gPhysicsManager->dynamics)
                ResetForRace(d);
        renderers->SwitchTo(STATE_LOADING);
        renderers->currentState = STATE_LOADING;
        std::string script;
        if (target == STATE_GAME_INTRO)
            script = "../Scripts/intro.txt";
        else if (target == STATE_GAME_OUTRO)
            script = "../Scripts/outro.txt";
        else
            script = TrackScriptPath(gSelectedTrack);
        char hud[64];
        snprintf(hud, sizeof(hud), "../Scripts/hud%d.txt", gSelectedVehicle + 1);
        renderers->game->LoadRace(script.c_str(), replay ? nullptr : hud);
        gPhysicsManager->game->PrepareRace();
        gPhysicsManager->game->SetDynamics(&gPhysicsManager->dynamics[SelectedVehicleIndex()]);
        if (replay)
            PrepareReplay();
    } else if (target == STATE_MAIN_MENU) {
        renderers->SwitchTo(STATE_LOADING);
        renderers->currentState = STATE_LOADING;
        renderers->menu->init();
    }
    gRequestedState = target;
    gStateAfterLoading = 0;
}

CLoadRenderer::CLoadRenderer() : CRenderer(nullptr), font(MakeFont(L"Beware", 40, 400, 0.7f, 0.7f, 1.0f)) {}

CLoadRenderer::~CLoadRenderer() = default;

void CLoadRenderer::init() {
    enter();
}

void CLoadRenderer::enter() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

ProgressBarRect ProgressBarFor(int width, int height, int percent) {
    ProgressBarRect r;
    r.left = (width - 250) / 2;
    r.top = (height + 20) / 2;
    r.bottom = r.top - 20;
    r.filledRight = r.left + percent * 250 / 100;
    return r;
}

void CLoadRenderer::draw() {
    DrawScreen();
    glutSwapBuffers();
    if (gLoadingProgress == 100)
        Sleep(100);
}

// Loaders redraw this in the middle of their work, so it keeps the matrices they set up.
void CLoadRenderer::DrawScreen() const {
    ClearFrame();
    BeginFlat(FLAT_SOLID);
    font->Print("LOADING", gSettings.screenWidth / 2 - 112, gSettings.screenHeight / 2 + 40);
    const ProgressBarRect r = ProgressBarFor(gSettings.screenWidth, gSettings.screenHeight, gLoadingProgress);
    FillRect(float(r.left), float(r.bottom), float(r.filledRight), float(r.top), {0.3f, 0.3f, 0.5f, 1.0f});
    FrameRect(float(r.left), float(r.bottom), float(r.left + 250), float(r.top), {0.7f, 0.7f, 1.0f, 1.0f});
    EndFlat();
}

void RedrawLoadingScreen() {
    if (gRendererManager && gRendererManager->load)
        gRendererManager->load->draw();
}
