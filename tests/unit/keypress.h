#pragma once

#include "app/gamedefs.h"
#include "app/states.h"

// A key pressed and released on a screen, as GLUT delivers it.
inline void Key(CPhysics& screen, unsigned char key) {
    screen.onKey(key, true);
    screen.onKey(key, false);
}

inline void Special(CPhysics& screen, int key) {
    screen.onSpecialKey(key, true);
    screen.onSpecialKey(key, false);
}

// Presses keys in turn: U, D, L and R are the arrows and Y the pad's Y; every other character is its own key
// ("\r" Enter, "\x1b" Escape).
inline void Press(CPhysics& screen, const char* keys) {
    for (const char* k = keys; *k; ++k) {
        switch (*k) {
        case 'U': Special(screen, kKeyUp); break;
        case 'D': Special(screen, kKeyDown); break;
        case 'L': Special(screen, kKeyLeft); break;
        case 'R': Special(screen, kKeyRight); break;
        case 'Y': Special(screen, kKeyPadY); break;
        default: Key(screen, static_cast<unsigned char>(*k)); break;
        }
    }
}

// Runs a screen's animations in steps of 10 ms for `seconds`.
inline void Animate(CPhysics& screen, float seconds) {
    for (float t = 0.0f; t < seconds; t += 0.01f)
        screen.update(0.01f);
}
