// Test-only LD_PRELOAD library: flies every race by the autopilot inside the game's process, so that a test
// does not depend on when the X server delivers its keys. Each frame, before the game's own, it steers along
// the route in $AUTOPILOT_ROUTES/track<N>.txt ("x y z" a line) from where the race camera is, and passes the
// inputs on as a player's: the bound thrust and brake keys through the game's key callbacks, the mouse as
// the pointer's motion does. With RACE_STILL set instead, for pictures of a race start, the game goes from its
// first load straight into a race of track 1 without ghost, fly-over or countdown, the vehicle left where the
// fly-over would leave it, and no input reaches it. Needs a game built with its symbols exported.
#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

#include "app/input.h"
#include "app/managers.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "race/gamephysics.h"
#include "race/gamerenderer.h"
#include "race/ghost.h"
#include "race/raceflow.h"
#include "race/routepilot.h"
#include "scene/transformation.h"

namespace {

void (*gGameDisplay)() = nullptr;
void (*gGameIdle)() = nullptr;
RoutePilot gPilot;
int gRouteTrack = -1;  // the track gPilot's route belongs to, -1 before the first race
int gLastState = 0;    // the state of the previous frame
std::chrono::steady_clock::time_point gLastFrame;
bool gStill = false;

// A track without a route file has an empty route, which the pilot does not fly.
void LoadRoute(int track) {
    gPilot = RoutePilot();
    gRouteTrack = track;
    char path[512];
    snprintf(path, sizeof(path), "%s/track%d.txt", getenv("AUTOPILOT_ROUTES"), track + 1);
    FILE* f = fopen(path, "r");
    AutopilotPoint p;
    while (f && fscanf(f, "%f %f %f", &p.p[0], &p.p[1], &p.p[2]) == 3)
        gPilot.route.push_back(p);
    if (f)
        fclose(f);
}

// Presses or releases a bound key through the game's own callbacks when the vehicle's flag differs.
void Hold(const KeyBinding& key, bool want, bool held) {
    if (want == held)
        return;
    if (key.special)
        (want ? SpecialDown : SpecialUp)(key.code, 0, 0);
    else
        (want ? KeyboardDown : KeyboardUp)(static_cast<unsigned char>(key.code), 0, 0);
}

void HoldStill() {
    static bool requested = false, placed = false;
    if (!requested && gRequestedState == STATE_RACE_INTRO) {
        gRequestedState = STATE_RACE;
        requested = true;
    } else if (requested && !placed && gPhysicsManager->currentState == STATE_RACE) {
        const TrackSettings& t = gTrackSettings;
        const float* p = t.vehicleStartPosition;
        gRendererManager->game->camera.SeatOn({p[0], p[1], p[2], t.vehicleStartHeading});
        placed = true;
    }
}

void Steer() {
    if (gStill)
        return HoldStill();
    const auto now = std::chrono::steady_clock::now();
    CPhysicsManager* pm = gPhysicsManager;
    const int state = pm ? pm->currentState : 0;
    const float dt = state == gLastState ? std::chrono::duration<float>(now - gLastFrame).count() : 1.0f / 60.0f;
    gLastFrame = now;
    // A race starts after the countdown at the beginning of its route; after the pause menu it goes on.
    const bool started = state == STATE_RACE && gLastState == STATE_COUNTDOWN;
    gLastState = state;
    if (state != STATE_RACE || pm->current != pm->game.get())
        return;
    if (gRouteTrack != gSelectedTrack)
        LoadRoute(gSelectedTrack);
    if (started)
        gPilot.nearest = 0;
    CGamePhysics& race = *pm->game;
    const VehicleDynamics& d = *race.dynamics;
    const PilotInput in = SteerAlongRoute(gPilot, *race.camera, d, gSettings.mouseSensitivity, dt);
    if (in.dx != 0 || in.dy != 0)
        race.onMouseMove(in.dx, in.dy);
    Hold(gSettings.keys[BINDING_FORWARD], in.thrust, d.thrustOn);
    Hold(gSettings.keys[BINDING_BRAKE], in.brake, d.brakeOn);
}

void FlownDisplay() {
    Steer();
    gGameDisplay();
}

void FlownIdle() {
    Steer();
    gGameIdle();
}

using SetCallback = void (*)(void (*)());

}  // namespace

// The game's frame callback runs behind the pilot's.
extern "C" void glutDisplayFunc(void (*callback)()) {
    gGameDisplay = callback;
    gStill = getenv("RACE_STILL") != nullptr;
    if (gStill) {
        gSelectedTrack = 0;
        gGhostChoice = GHOST_NONE;
        gStateAfterLoading = STATE_RACE_INTRO;
    }
    reinterpret_cast<SetCallback>(dlsym(RTLD_NEXT, "glutDisplayFunc"))(callback ? FlownDisplay : nullptr);
}

extern "C" void glutIdleFunc(void (*callback)()) {
    gGameIdle = callback;
    reinterpret_cast<SetCallback>(dlsym(RTLD_NEXT, "glutIdleFunc"))(callback ? FlownIdle : nullptr);
}
