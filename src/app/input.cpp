#include "app/input.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "app/gamedefs.h"
#include "app/managers.h"

MouseTracker gMouse;

namespace {

const int kEdgeMargin = 40;
// Queued motion events a warp may leave behind before the pointer is taken to be back at the edge.
const int kMaxPendingWarpEvents = 4;

int DistanceSquared(int x0, int y0, int x1, int y1) {
    return (x1 - x0) * (x1 - x0) + (y1 - y0) * (y1 - y0);
}

}  // namespace

void KeyboardDown(unsigned char key, int, int) {
    if (gPhysicsManager)
        gPhysicsManager->current->onKey(key, true);
}

void KeyboardUp(unsigned char key, int, int) {
    if (gPhysicsManager)
        gPhysicsManager->current->onKey(key, false);
}

void SpecialDown(int key, int, int) {
    if (gPhysicsManager)
        gPhysicsManager->current->onSpecialKey(key, true);
}

void SpecialUp(int key, int, int) {
    if (gPhysicsManager)
        gPhysicsManager->current->onSpecialKey(key, false);
}

void PassiveMotion(int x, int y) {
    if (!gPhysicsManager)
        return;
    const MouseStep step = TrackMouse(gMouse, x, y, gSettings.screenWidth, gSettings.screenHeight);
    if (step.deliver)
        gPhysicsManager->current->onMouseMove(step.dx, step.dy);
    if (step.warp)
        glutWarpPointer(step.warpX, step.warpY);
}

MouseStep TrackMouse(MouseTracker& t, int x, int y, int width, int height) {
    MouseStep step;
    if (t.previousX == -1 && t.previousY == -1) {
        t.previousX = x;
        t.previousY = y;
        return step;
    }
    step.deliver = true;
    if (t.pendingWarpEvents > 0 &&
        DistanceSquared(x, y, t.edgeX, t.edgeY) < DistanceSquared(x, y, t.previousX, t.previousY)) {
        // Still an event from before the warp took effect.
        --t.pendingWarpEvents;
        step.dx = x - t.edgeX;
        step.dy = y - t.edgeY;
        t.edgeX = x;
        t.edgeY = y;
        return step;
    }
    t.pendingWarpEvents = 0;
    step.dx = x - t.previousX;
    step.dy = y - t.previousY;
    if (x > kEdgeMargin && x < width - kEdgeMargin && y > kEdgeMargin && y < height - kEdgeMargin) {
        t.previousX = x;
        t.previousY = y;
        return step;
    }
    step.warp = true;
    step.warpX = width / 2;
    step.warpY = height / 2;
    t.previousX = step.warpX;
    t.previousY = step.warpY;
    t.pendingWarpEvents = kMaxPendingWarpEvents;
    t.edgeX = x;
    t.edgeY = y;
    return step;
}

bool SameKey(const KeyBinding& binding, int code, bool special) {
    if (binding.special != special)
        return false;
    if (special)
        return binding.code == code;
    return LowerCaseKey(binding.code) == LowerCaseKey(code);
}

int LowerCaseKey(int code) {
    return code >= 'A' && code <= 'Z' ? code - 'A' + 'a' : code;
}

int MatchKeyBinding(const KeyBinding* bindings, int count, int code, bool special) {
    for (int i = 0; i < count; ++i)
        if (SameKey(bindings[i], code, special))
            return i;
    return -1;
}

std::string KeyBindingName(const KeyBinding& binding) {
    const int code = binding.code;
    if (!binding.special) {
        switch (code) {
        case kKeyBackspace: return "Bksp";
        case kKeyTab: return "Tab";
        case kKeyEnter: return "Enter";
        case kKeyEscape: return "Esc";
        case kKeyDelete: return "Del";
        default: break;
        }
        if (code >= 32 && code < 127)
            return std::string(1, char(code));
    } else {
        if (code >= kKeyF1 && code <= kKeyF12)
            return "F" + std::to_string(code - kKeyF1 + 1);
        static const char* const kArrowsAndPaging[] = {"Left", "Up", "Right", "Down", "PgUp",
                                                       "PgDn", "Home", "End",   "Insert"};
        if (code >= kKeyLeft && code <= kKeyInsert)
            return kArrowsAndPaging[code - kKeyLeft];
    }
    // A key without a name of its own shows its number, as long as that fits.
    const std::string number = "#" + std::to_string(code);
    return number.size() <= 7 ? number : "?";
}
