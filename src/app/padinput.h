#pragma once

#include <cstdint>
#include <vector>

#include "data/settings.h"
#include "platform/gamepad.h"

// The pad drives the game through the keyboard and mouse handlers. In a race the stick moves like the
// mouse, the d-pad presses the turn keys, a trigger or A/B the Forward and Brake keys and Start is Esc;
// elsewhere the d-pad and stick are the arrow keys (repeating while held), A is Enter and B and Start Esc,
// and the right stick moves like the mouse. Back and Y press keys of their own everywhere (kKeyPadBack,
// kKeyPadY).

// Everything on the pad that can act as a key.
enum {
    CONTROL_A,
    CONTROL_B,
    CONTROL_START,
    CONTROL_BACK,
    CONTROL_Y,
    CONTROL_DPAD_UP,
    CONTROL_DPAD_DOWN,
    CONTROL_DPAD_LEFT,
    CONTROL_DPAD_RIGHT,
    CONTROL_LEFT_TRIGGER,
    CONTROL_RIGHT_TRIGGER,
    CONTROL_STICK_UP,
    CONTROL_STICK_DOWN,
    CONTROL_STICK_LEFT,
    CONTROL_STICK_RIGHT,
    CONTROL_COUNT
};

// A key event (special as for the GLUT special-key callback) or, with isMove, a relative mouse motion.
struct PadEvent {
    bool isMove = false;
    int code = 0;
    bool special = false;
    bool down = false;
    int dx = 0;
    int dy = 0;
};

// What each control pressed, while it stays held.
struct PadTracker {
    bool held[CONTROL_COUNT] = {};
    KeyBinding key[CONTROL_COUNT] = {};  // code -1: the control does nothing where it was pressed
    bool inRace[CONTROL_COUNT] = {};      // pressed in a race
    float heldTime[CONTROL_COUNT] = {};
    float carryX = 0.0f;  // parts of a pixel of stick motion not yet passed on
    float carryY = 0.0f;
    std::vector<KeyBinding> keyboard;  // keys down on the keyboard, which the pad neither presses nor lets go
};

// A stick axis with the dead zone taken out: 0 inside it, rising to +-1 at full deflection.
float ApplyDeadZone(float axis);

// Whole pixels of mouse motion for one frame of a stick axis at `pixelsPerSecond` when fully deflected;
// `carry` keeps the fraction for the next frame, so slow frames and fast ones steer alike.
int StickPixels(float axis, float pixelsPerSecond, float dt, float& carry);

// Whether a key held from heldBefore to heldAfter seconds repeats in that time (never at the press itself).
bool RepeatDue(float heldBefore, float heldAfter);

bool ControlHeld(const PadState& pad, int control);

// The key a control presses in a race or in the menus (code -1: none).
KeyBinding ControlKey(int control, bool racing, const KeyBinding* bindings);

// One frame of the pad: key events for controls pressed, released or repeating, and the left stick's
// motion in a race, the right stick's elsewhere. Out of a race a control keeps the key it pressed until it
// is let go, so a button held from a race into its results does not become Enter there; a key held by two
// controls, or by a control and the keyboard, is released when both are.
void TrackPad(PadTracker& tracker, const PadState& pad, bool racing, float dt, const KeyBinding* bindings,
              std::vector<PadEvent>& events);

// A keyboard key going down or up; whether the game hears it. A key stays down while the keyboard or a
// control holds it, so its release waits for the last of them.
bool TrackKeyboard(PadTracker& tracker, const KeyBinding& key, bool down);
bool KeyboardKeyHeard(int code, bool special, bool down);  // the same, for the game's own tracker

// Reads the pad and hands its events to the current state; called once a frame before its update.
void PollPad(uint32_t now);
