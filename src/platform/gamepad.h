#pragma once

// Game pads through SDL's game-controller layer, which gives the common pads one standard layout. Only
// the first pad plugged in is read; when it goes, the next one still plugged in takes its place.

enum {
    PAD_A,
    PAD_B,
    PAD_START,
    PAD_DPAD_UP,
    PAD_DPAD_DOWN,
    PAD_DPAD_LEFT,
    PAD_DPAD_RIGHT,
    PAD_BACK,
    PAD_Y,
    PAD_BUTTON_COUNT
};

// One reading of a pad. Stick axes run from -1 to 1 (x to the right, y towards the player), triggers
// from 0 to 1. The right stick is read for the screens that turn a view with it.
struct PadState {
    float stickX = 0.0f;
    float stickY = 0.0f;
    float rightStickX = 0.0f;
    float rightStickY = 0.0f;
    float leftTrigger = 0.0f;
    float rightTrigger = 0.0f;
    bool buttons[PAD_BUTTON_COUNT] = {};
};

#include <cstdint>
#include <cstdio>

// Starts SDL's game-controller subsystem alone and adds the player's own mappings, "../gamecontrollerdb.txt".
// Without the subsystem the game simply has no pads, so a failure is not logged.
void InitGamepads();

// Adds the mappings of a file in SDL_GameControllerDB's format (one pad a line, '#' comments, lines of
// another platform skipped); each line SDL refuses is one log line. name is for messages.
void AddPadMappings(FILE* file, const char* name);

// A pulse of the current pad's motors at strength 0..1; nothing without a pad or on one without them.
void RumblePad(float strength, uint32_t milliseconds);

// Follows pads plugged in and out and reads the current one; false (and a state at rest) without a pad.
bool ReadGamepad(PadState& state);

void ShutdownGamepads();
