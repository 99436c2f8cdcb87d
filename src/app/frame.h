#pragma once

extern bool gInitialised;

// Display and idle callback: creates the managers on its first call, then advances and draws one frame.
void FrameCallback();

// Releases the renderer, physics and sound managers, in that order (the main menu's quit item).
void Shutdown();

// One physics step at time `now` (timeGetTime ms): dt from the current object's lastTime, update, then the
// physics-side state switch if one was requested.
void PhysicsStep(unsigned now);
