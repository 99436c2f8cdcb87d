#include "menus/mainmenu.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "menus/menu.h"
#include "audio/soundmanager.h"

MainMenuItem gMainMenuItems[kNumMainMenuItems];

namespace {

constexpr float kFlySpeed = 50.0f;       // world units per second
constexpr float kAnimationTime = 0.5f;  // seconds a page takes to fly out
constexpr float kTurnSpeed = 30.0f;      // degrees per second
constexpr float kTurnLimit = -30.0f;

const char* const kLabels[kNumMainMenuItems] = {"New Profile", "Load Profile", "Options", "Exit",
                                                "Video",       "Audio",        "Controls", "Back"};

void Hide(MainMenuItem& item) {
    item.offset[0] = 0.0f;
    item.offset[1] = 0.0f;
    item.offset[2] = kMenuHiddenZ;
}

}  // namespace

void CMenuPhysics::create() {
    for (int i = 0; i < kNumMainMenuItems; i++) {
        MainMenuItem& item = gMainMenuItems[i];
        snprintf(item.label, sizeof(item.label), "%s", kLabels[i]);
        item.angle = 0.0f;
        item.highlighted = false;
        item.offset[0] = item.offset[1] = 0.0f;
        item.offset[2] = i < 4 ? 0.0f : kMenuHiddenZ;
    }
    const float raw[4][3] = {{0.0f, 1.0f, 1.0f}, {-1.0f, 0.2f, 1.0f}, {0.5f, 0.2f, 1.0f}, {-0.7f, -0.1f, 1.0f}};
    for (int d = 0; d < 4; d++) {
        const float len = std::sqrt(raw[d][0] * raw[d][0] + raw[d][1] * raw[d][1] + raw[d][2] * raw[d][2]);
        for (int k = 0; k < 3; k++)
            directions[d][k] = raw[d][k] / len;
    }
    current = 0;
    first = 0;
    timer = 0.0f;
    switching = leaving = arriving = false;
    gMainMenuItems[0].highlighted = true;
}

void CMenuPhysics::enter() {
    CPhysics::enter();
    StartMenuMusic();
}

void CMenuPhysics::FlyOut(int page, float dt) {
    for (int k = page; k < page + 4; k++)
        for (int c = 0; c < 3; c++)
            gMainMenuItems[k].offset[c] += directions[k % 4][c] * kFlySpeed * dt;
}

bool CMenuPhysics::GlideIn(float dt) {
    bool arrived = false;
    for (int k = first; k < first + 4; k++) {
        float& z = gMainMenuItems[k].offset[2];
        z -= kFlySpeed * dt;
        if (z <= 0.0f) {
            z = 0.0f;
            arrived = true;
        }
    }
    return arrived;
}

void CMenuPhysics::update(float dt) {
    if (switching) {
        timer += dt;
        const int leftPage = first == 4 ? 0 : 4;
        if (timer < kAnimationTime) {
            FlyOut(leftPage, dt);
        } else {
            for (int k = leftPage; k < leftPage + 4; k++)
                Hide(gMainMenuItems[k]);
            if (GlideIn(dt)) {
                switching = false;
                timer = 0.0f;
            }
        }
    }
    bool justLeft = false;
    if (leaving) {
        timer += dt;
        if (timer < kAnimationTime) {
            FlyOut(first, dt);
        } else {
            for (int k = first; k < first + 4; k++)
                Hide(gMainMenuItems[k]);
            timer = 0.0f;
            leaving = false;
            arriving = true;
            justLeft = true;
            gRequestedState = target;
        }
    }
    // The glide-in starts on the next update, which comes only once the menu shows again: starting it in
    // this one would bring the page back into view under the next screen when frames are slow.
    if (arriving && !justLeft) {
        timer += dt;
        if (GlideIn(dt)) {
            arriving = false;
            timer = 0.0f;
        }
    }
    for (int k = first; k < first + 4; k++) {
        MainMenuItem& item = gMainMenuItems[k];
        if (item.highlighted && item.angle >= kTurnLimit)
            item.angle = std::fmax(item.angle - kTurnSpeed * dt, kTurnLimit);
        else if (!item.highlighted && item.angle <= 0.0f)
            item.angle = std::fmin(item.angle + kTurnSpeed * dt, 0.0f);
    }
}

void CMenuPhysics::Highlight(int item) {
    gMainMenuItems[current].highlighted = false;
    current = int16_t(item);
    gMainMenuItems[current].highlighted = true;
}

void CMenuPhysics::onSpecialKey(int key, bool down) {
    if (!down || Animating())
        return;
    if (key == kKeyUp) {
        Highlight(current - 1 < first ? current + 3 : current - 1);
        PlayMenuSound(SOUND_INTRAMENU);
    } else if (key == kKeyDown) {
        Highlight(current + 1 >= first + 4 ? current - 3 : current + 1);
        PlayMenuSound(SOUND_INTRAMENU);
    }
}

void CMenuPhysics::Choose(int state) {
    PlayMenuSound(SOUND_MENUSELECT);
    leaving = true;
    target = state;
}

void CMenuPhysics::SwitchPage(int newFirst, int newCurrent) {
    first = int16_t(newFirst);
    Highlight(newCurrent);
    switching = true;
    PlayMenuSound(SOUND_INTERMENU);
}

void CMenuPhysics::onKey(unsigned char key, bool down) {
    if (!down || key != kKeyEnter || Animating())
        return;
    switch (current) {
    case MAINMENU_NEW_PROFILE: Choose(STATE_NEW_PROFILE); break;
    case MAINMENU_LOAD_PROFILE: Choose(STATE_LOAD_PROFILE); break;
    case MAINMENU_OPTIONS: SwitchPage(4, MAINMENU_VIDEO); break;
    case MAINMENU_EXIT:
        PlayMenuSound(SOUND_MENUSELECT);
        if (gShutdownGame)
            gShutdownGame();
        exit(0);
    case MAINMENU_VIDEO: Choose(STATE_VIDEO_SETTINGS); break;
    case MAINMENU_AUDIO: Choose(STATE_AUDIO_SETTINGS); break;
    case MAINMENU_CONTROLS: Choose(STATE_CONTROL_SETTINGS); break;
    case MAINMENU_BACK: SwitchPage(0, MAINMENU_OPTIONS); break;
    default: break;
    }
}
