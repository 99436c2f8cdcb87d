#include "audio/soundmanager.h"
#include "data/profile.h"
#include "menus/profilemenus.h"
#include "race/vehicle.h"

std::vector<MenuOption> gProfileMenuItems;
float gPreviewAngle = 0.0f;

namespace {

constexpr float kPreviewTurnSpeed = 35.0f;  // degrees per second

}  // namespace

void CProfileMenuPhysics::create() {
    gProfileMenuItems.clear();
    for (const char* label : {"Go Racing", "Change Vehicle", "Buy Vehicles", "Back To Main Menu", "Hall Of Champions"})
        gProfileMenuItems.emplace_back(label);
    current = PROFILE_GO_RACING;
    gProfileMenuItems[0].highlighted = true;
}

void CProfileMenuPhysics::enter() {
    if (gSoundManager)
        gSoundManager->StopEngine();
    CPhysics::enter();
    StartMenuMusic();
    gProfileMenuItems[PROFILE_HALL_OF_CHAMPIONS].unavailable = gProfile.percentComplete < kGameCompletePercent;
    gProfileMenuItems[PROFILE_CHANGE_VEHICLE].unavailable = gProfile.ownedCount <= 1;
    // The highlight may sit on an item that has just become unavailable.
    if (gProfileMenuItems[size_t(current)].unavailable) {
        gProfileMenuItems[size_t(current)].highlighted = false;
        current = PROFILE_GO_RACING;
        gProfileMenuItems[0].highlighted = true;
    }
}

void CProfileMenuPhysics::update(float dt) {
    gPreviewAngle += kPreviewTurnSpeed * dt;
}

void CProfileMenuPhysics::onSpecialKey(int key, bool down) {
    if (!down || (key != kKeyUp && key != kKeyDown))
        return;
    PlayMenuSound(SOUND_INTRAMENU);
    const int step = key == kKeyDown ? 1 : -1;
    int next = current;
    do
        next = (next + step + kNumProfileItems) % kNumProfileItems;
    while (gProfileMenuItems[size_t(next)].unavailable);
    gProfileMenuItems[size_t(current)].highlighted = false;
    current = next;
    gProfileMenuItems[size_t(current)].highlighted = true;
}

void CProfileMenuPhysics::onKey(unsigned char key, bool down) {
    if (!down || key != kKeyEnter)
        return;
    PlayMenuSound(SOUND_MENUSELECT);
    switch (current) {
    case PROFILE_GO_RACING: gRequestedState = STATE_TRACK_SELECT; break;
    case PROFILE_CHANGE_VEHICLE: gRequestedState = STATE_VEHICLE_SELECT; break;
    case PROFILE_BUY_VEHICLES: gRequestedState = STATE_VEHICLE_PURCHASE; break;
    case PROFILE_MAIN_MENU: gRequestedState = STATE_MAIN_MENU; break;
    case PROFILE_HALL_OF_CHAMPIONS:
        StopMenuMusic();
        RequestStateViaLoading(STATE_GAME_OUTRO);
        break;
    default: break;
    }
}
