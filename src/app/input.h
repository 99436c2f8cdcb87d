#pragma once

// GLUT input callbacks: each forwards to the current state's update object (nothing before the first frame).
void KeyboardDown(unsigned char key, int x, int y);
void KeyboardUp(unsigned char key, int x, int y);
void SpecialDown(int key, int x, int y);
void SpecialUp(int key, int x, int y);
void PassiveMotion(int x, int y);

// Relative mouse: the pointer is pulled back to the window centre when it comes within 40 pixels of an edge and
// only the deltas are passed on.
struct MouseTracker {
    int previousX = -1;  // -1, -1 until the first motion event
    int previousY = -1;
    // After a warp, motion events already queued still carry positions near the edge; they are measured from
    // the edge until the first event nearer the centre (the warp's own) arrives.
    int pendingWarpEvents = 0;
    int edgeX = 0;
    int edgeY = 0;
};

// What one motion event leads to.
struct MouseStep {
    bool deliver = false;  // call onMouseMove(dx, dy)
    int dx = 0;
    int dy = 0;
    bool warp = false;  // move the pointer to (warpX, warpY)
    int warpX = 0;
    int warpY = 0;
};

MouseStep TrackMouse(MouseTracker& tracker, int x, int y, int width, int height);

extern MouseTracker gMouse;
