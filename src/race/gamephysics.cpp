#include "race/gamephysics.h"

#include "app/loading.h"

void CGamePhysics::onKey(unsigned char key, bool down) {
    if (down && key == 27)
        gRequestedState = STATE_INGAME_MENU;
}

void CGamePhysics::PrepareRace() {
    ShowLoadingProgress(75);
    ShowLoadingProgress(100);
}
