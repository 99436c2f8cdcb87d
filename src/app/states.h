#pragma once

#include <cstdint>

class TextureManager;

enum {
    STATE_LOADING = 1,
    STATE_GAME_INTRO = 2,
    STATE_MAIN_MENU = 3,
    STATE_LOAD_PROFILE = 4,
    STATE_VIDEO_SETTINGS = 5,
    STATE_AUDIO_SETTINGS = 6,
    STATE_CONTROL_SETTINGS = 7,
    STATE_NEW_PROFILE = 8,
    STATE_PROFILE_MENU = 9,
    STATE_TRACK_SELECT = 10,
    STATE_RACE_INTRO = 11,
    STATE_COUNTDOWN = 12,
    STATE_RACE = 13,
    STATE_INGAME_MENU = 14,
    STATE_RACE_COMPLETED = 15,
    STATE_VEHICLE_SELECT = 16,
    STATE_VEHICLE_PURCHASE = 17,
    STATE_GAME_OUTRO = 18,
    STATE_REPLAY = 19,  // the replay viewer, opened from the track card or the results
};

// A state change is requested only by writing gRequestedState; going through the loading screen means
// writing the target into gStateAfterLoading first and then requesting STATE_LOADING.
extern int gRequestedState;
extern int gStateAfterLoading;
extern int16_t gLoadingProgress;

void RequestStateViaLoading(int target);

// The app's own work, which the layers below reach only through these hooks; null until the app sets them.
extern void (*gRedrawLoadingScreen)();  // draws the loading screen at once
extern void (*gShutdownGame)();         // releases the managers (the main menu's quit item)

// Sets gLoadingProgress and redraws the loading screen (used inside long loads).
void ShowLoadingProgress(int percent);

// Per-state logic and input. lastTime is 0 whenever a state becomes current, so its first update gets dt 0.
class CPhysics {
public:
    virtual ~CPhysics() = default;
    virtual void update(float dt) = 0;
    // Input a state does not take, and creation it does not need, do nothing.
    virtual void onKey(unsigned char, bool) {}
    virtual void onSpecialKey(int key, bool down);
    virtual void onMouseMove(int, int) {}
    virtual void create() {}
    virtual void enter();
    virtual void leave();

    uint32_t lastTime = 0;
};

// Per-state drawing. draw ends with glutSwapBuffers.
class CRenderer {
public:
    explicit CRenderer(TextureManager* textures) : textures(textures) {}
    virtual ~CRenderer() = default;
    virtual void draw() = 0;
    virtual void init() = 0;
    virtual void enter() = 0;
    virtual void leave() = 0;

    TextureManager* textures;  // shared, not owned
};
