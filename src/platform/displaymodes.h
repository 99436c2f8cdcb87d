#pragma once

#include <vector>

// One mode of the primary display; depth is bits per pixel.
struct DisplayMode {
    int width;
    int height;
    int depth;
};

// The primary display's modes from XRandR, in the order it reports them, and the current screen size. When
// XRandR offers no choice (a plain virtual server reports only its one size) the common sizes that fit on
// the screen are added, so a player can still pick a smaller window. Empty only without an X display.
std::vector<DisplayMode> ListDisplayModes();

// The common sizes no larger than width x height, at the given depth.
std::vector<DisplayMode> CommonDisplayModes(int width, int height, int depth);
