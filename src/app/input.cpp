#include "app/input.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "app/gamedefs.h"
#include "app/managers.h"
#include "app/padinput.h"
#include "data/settings.h"

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
    if (gPhysicsManager && KeyboardKeyHeard(key, false, true))
        gPhysicsManager->current->onKey(key, true);
}

void KeyboardUp(unsigned char key, int, int) {
    if (gPhysicsManager && KeyboardKeyHeard(key, false, false))
        gPhysicsManager->current->onKey(key, false);
}

void SpecialDown(int key, int, int) {
    if (gPhysicsManager && KeyboardKeyHeard(key, true, true))
        gPhysicsManager->current->onSpecialKey(key, true);
}

void SpecialUp(int key, int, int) {
    if (gPhysicsManager && KeyboardKeyHeard(key, true, false))
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
