#include "app/states.h"

int gRequestedState = STATE_LOADING;
int gStateAfterLoading = STATE_GAME_INTRO;
int16_t gLoadingProgress = 0;
void (*gRedrawLoadingScreen)() = nullptr;
void (*gShutdownGame)() = nullptr;

void RequestStateViaLoading(int target) {
    gStateAfterLoading = target;
    gRequestedState = STATE_LOADING;
}

void ShowLoadingProgress(int percent) {
    gLoadingProgress = int16_t(percent);
    if (gRedrawLoadingScreen)
        gRedrawLoadingScreen();
}

void CPhysics::onSpecialKey(int, bool) {}

void CPhysics::enter() {
    lastTime = 0;
}

void CPhysics::leave() {
    lastTime = 0;
}
