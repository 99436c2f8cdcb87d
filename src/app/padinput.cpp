#include "app/padinput.h"

#include <cmath>

#include "app/gamedefs.h"
#include "app/managers.h"
#include "data/keybinding.h"
#include "platform/clock.h"

namespace {

const float kDeadZone = 0.2f;
// A stick or trigger pushed past this counts as a key pressed.
const float kPressed = 0.5f;
// A full stick turns like a turn key held at 60 frames a second: 12 pixels sideways a frame, 6 up or down.
const float kBankPixelsPerSecond = 720.0f;
const float kPitchPixelsPerSecond = 360.0f;
const float kRepeatDelay = 0.4f;
const float kRepeatInterval = 0.1f;
const KeyBinding kNoKey = {-1, false};

PadTracker gPadTracker;
std::vector<PadEvent> gPadEvents;
uint32_t gLastPoll = 0;

bool PadHolds(const PadTracker& t, const KeyBinding& key, int except, int end) {
    for (int c = 0; c < end; ++c)
        if (c != except && t.held[c] && SameKey(t.key[c], key.code, key.special))
            return true;
    return false;
}

// Whether the keyboard or a control before `end`, other than `except`, holds this key.
bool KeyHeldElsewhere(const PadTracker& t, const KeyBinding& key, int except, int end = CONTROL_COUNT) {
    for (const KeyBinding& k : t.keyboard)
        if (SameKey(k, key.code, key.special))
            return true;
    return PadHolds(t, key, except, end);
}

bool IsArrowKey(const KeyBinding& key) {
    return key.special && key.code >= kKeyLeft && key.code <= kKeyDown;
}

void AddKey(std::vector<PadEvent>& events, const KeyBinding& key, bool down) {
    PadEvent e;
    e.code = key.code;
    e.special = key.special;
    e.down = down;
    events.push_back(e);
}

void Deliver(const PadEvent& e) {
    if (e.isMove)
        gPhysicsManager->current->onMouseMove(e.dx, e.dy);
    else if (e.special)
        gPhysicsManager->current->onSpecialKey(e.code, e.down);
    else
        gPhysicsManager->current->onKey(static_cast<unsigned char>(e.code), e.down);
}

}  // namespace

float ApplyDeadZone(float axis) {
    const float magnitude = std::fabs(axis);
    if (magnitude <= kDeadZone)
        return 0.0f;
    const float scaled = std::fmin((magnitude - kDeadZone) / (1.0f - kDeadZone), 1.0f);
    return axis < 0.0f ? -scaled : scaled;
}

int StickPixels(float axis, float pixelsPerSecond, float dt, float& carry) {
    const float deflection = ApplyDeadZone(axis);
    if (deflection == 0.0f) {
        carry = 0.0f;
        return 0;
    }
    carry += deflection * pixelsPerSecond * dt;
    const float whole = std::trunc(carry);
    carry -= whole;
    return static_cast<int>(whole);
}

bool RepeatDue(float heldBefore, float heldAfter) {
    if (heldAfter < kRepeatDelay)
        return false;
    if (heldBefore < kRepeatDelay)
        return true;
    return std::floor((heldAfter - kRepeatDelay) / kRepeatInterval) >
           std::floor((heldBefore - kRepeatDelay) / kRepeatInterval);
}

bool ControlHeld(const PadState& pad, int control) {
    switch (control) {
    case CONTROL_A: return pad.buttons[PAD_A];
    case CONTROL_B: return pad.buttons[PAD_B];
    case CONTROL_START: return pad.buttons[PAD_START];
    case CONTROL_BACK: return pad.buttons[PAD_BACK];
    case CONTROL_Y: return pad.buttons[PAD_Y];
    case CONTROL_DPAD_UP: return pad.buttons[PAD_DPAD_UP];
    case CONTROL_DPAD_DOWN: return pad.buttons[PAD_DPAD_DOWN];
    case CONTROL_DPAD_LEFT: return pad.buttons[PAD_DPAD_LEFT];
    case CONTROL_DPAD_RIGHT: return pad.buttons[PAD_DPAD_RIGHT];
    case CONTROL_LEFT_TRIGGER: return pad.leftTrigger > kPressed;
    case CONTROL_RIGHT_TRIGGER: return pad.rightTrigger > kPressed;
    case CONTROL_STICK_UP: return pad.stickY < -kPressed;
    case CONTROL_STICK_DOWN: return pad.stickY > kPressed;
    case CONTROL_STICK_LEFT: return pad.stickX < -kPressed;
    case CONTROL_STICK_RIGHT: return pad.stickX > kPressed;
    default: return false;
    }
}

KeyBinding ControlKey(int control, bool racing, const KeyBinding* bindings) {
    if (control == CONTROL_START)
        return {kKeyEscape, false};
    if (control == CONTROL_BACK)
        return {kKeyPadBack, true};
    if (control == CONTROL_Y)
        return {kKeyPadY, true};
    if (racing) {
        switch (control) {
        case CONTROL_A:
        case CONTROL_RIGHT_TRIGGER: return bindings[BINDING_FORWARD];
        case CONTROL_B:
        case CONTROL_LEFT_TRIGGER: return bindings[BINDING_BRAKE];
        case CONTROL_DPAD_UP: return bindings[BINDING_UP];
        case CONTROL_DPAD_DOWN: return bindings[BINDING_DOWN];
        case CONTROL_DPAD_LEFT: return bindings[BINDING_LEFT];
        case CONTROL_DPAD_RIGHT: return bindings[BINDING_RIGHT];
        default: return kNoKey;  // the stick steers as the mouse does
        }
    }
    switch (control) {
    case CONTROL_A: return {kKeyEnter, false};
    case CONTROL_B: return {kKeyEscape, false};
    case CONTROL_DPAD_UP:
    case CONTROL_STICK_UP: return {kKeyUp, true};
    case CONTROL_DPAD_DOWN:
    case CONTROL_STICK_DOWN: return {kKeyDown, true};
    case CONTROL_DPAD_LEFT:
    case CONTROL_STICK_LEFT: return {kKeyLeft, true};
    case CONTROL_DPAD_RIGHT:
    case CONTROL_STICK_RIGHT: return {kKeyRight, true};
    default: return kNoKey;
    }
}

void TrackPad(PadTracker& t, const PadState& pad, bool racing, float dt, const KeyBinding* bindings,
              std::vector<PadEvent>& events) {
    for (int c = 0; c < CONTROL_COUNT; ++c) {
        const bool held = ControlHeld(pad, c);
        // A control held into a race takes up its race key there, as a held key's repeats would; held out
        // of a race it keeps its race key until let go.
        if (racing && t.held[c] && SameKey(ControlKey(c, true, bindings), t.key[c].code, t.key[c].special))
            t.inRace[c] = true;
        if (t.held[c] && (!held || (racing && !t.inRace[c]))) {
            t.held[c] = false;
            if (t.key[c].code != -1 && !KeyHeldElsewhere(t, t.key[c], c))
                AddKey(events, t.key[c], false);
        }
        if (held && !t.held[c]) {
            t.held[c] = true;
            t.key[c] = ControlKey(c, racing, bindings);
            t.inRace[c] = racing;
            t.heldTime[c] = 0.0f;
            if (t.key[c].code != -1 && !KeyHeldElsewhere(t, t.key[c], c))
                AddKey(events, t.key[c], true);
        } else if (held) {
            const float before = t.heldTime[c];
            t.heldTime[c] += dt;
            // Only the arrow keys of the menus repeat (a race key is held, not typed), and of d-pad and
            // stick held the same way only one.
            if (!t.inRace[c] && IsArrowKey(t.key[c]) && RepeatDue(before, t.heldTime[c]) &&
                !KeyHeldElsewhere(t, t.key[c], c, c))
                AddKey(events, t.key[c], true);
        }
    }
    // In a race the left stick moves like the mouse; elsewhere the right stick does, for a view the mouse
    // turns (the menus take no motion).
    PadEvent move;
    move.isMove = true;
    move.dx = StickPixels(racing ? pad.stickX : pad.rightStickX, kBankPixelsPerSecond, dt, t.carryX);
    move.dy = StickPixels(racing ? pad.stickY : pad.rightStickY, kPitchPixelsPerSecond, dt, t.carryY);
    if (move.dx != 0 || move.dy != 0)
        events.push_back(move);
}

bool TrackKeyboard(PadTracker& t, const KeyBinding& key, bool down) {
    std::vector<KeyBinding>& held = t.keyboard;
    for (size_t i = 0; i < held.size(); ++i)
        if (SameKey(held[i], key.code, key.special)) {
            held.erase(held.begin() + i);
            break;
        }
    if (down)
        held.push_back(key);
    return down || !PadHolds(t, key, -1, CONTROL_COUNT);
}

bool KeyboardKeyHeard(int code, bool special, bool down) {
    return TrackKeyboard(gPadTracker, {code, special}, down);
}

void PollPad(uint32_t now) {
    PadState pad;
    const bool present = ReadGamepad(pad);
    const float dt = gLastPoll == 0 ? 0.0f : ElapsedSeconds(gLastPoll, now);
    gLastPoll = now;
    // A pad pulled out with buttons down lets go of their keys (its state reads as at rest).
    bool anyHeld = false;
    for (bool h : gPadTracker.held)
        anyHeld = anyHeld || h;
    if (!present && !anyHeld)
        return;
    gPadEvents.clear();
    TrackPad(gPadTracker, pad, gPhysicsManager->currentState == STATE_RACE, dt, gSettings.keys, gPadEvents);
    for (const PadEvent& e : gPadEvents)
        Deliver(e);
}
