#pragma once

#include <vector>

// One mode of the primary display; depth is bits per pixel.
struct DisplayMode {
    int width;
    int height;
    int depth;
};

// The primary display's modes from XRandR, in the order it reports them, and the current screen size; only
// sizes the display can show, since a full-screen mode it cannot show would not start. Empty only without
// an X display.
std::vector<DisplayMode> ListDisplayModes();
