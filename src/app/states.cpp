#include "app/states.h"

int gRequestedState = STATE_LOADING;
int gStateAfterLoading = STATE_GAME_INTRO;
int16_t gLoadingProgress = 0;

void RequestStateViaLoading(int target) {
    gStateAfterLoading = target;
    gRequestedState = STATE_LOADING;
}

void CPhysics::onSpecialKey(int, bool) {}

void CPhysics::enter() {
    lastTime = 0;
}

void CPhysics::leave() {
    lastTime = 0;
}
