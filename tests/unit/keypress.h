#pragma once

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

// Runs a screen's animations in steps of 10 ms for `seconds`.
inline void Animate(CPhysics& screen, float seconds) {
    for (float t = 0.0f; t < seconds; t += 0.01f)
        screen.update(0.01f);
}
