#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "hud/draw2d.h"

// Instrument codes, in the order of their script keywords.
enum {
    HUD_SPEEDOMETER_TEXT,
    HUD_SPEEDOMETER_GRAPHICAL,
    HUD_TIMER,
    HUD_DAMAGE_TEXT,
    HUD_DAMAGE_GRAPHICAL,
    HUD_ATTITUDE,
    NUM_HUD_INSTRUMENTS
};

struct HudInstrument {
    int type = 0;
    float x = 0.0f;  // pixels from the window's lower-left corner
    float y = 0.0f;
    float size = 0.0f;  // pixels
};

using HudVertex = Point2;

// Indices are 0-based into the vertices and are checked only when drawing.
struct HudTriangle {
    int i0, i1, i2;
    float red, green, blue, alpha;
};

struct HudLine {
    int i0, i1;
    float red, green, blue, alpha;
};

// Everything a HUD script lays out, in pixels.
struct HudLayout {
    std::unique_ptr<HudInstrument> instruments[NUM_HUD_INSTRUMENTS];  // one slot per code, null when absent
    std::vector<HudVertex> vertices;
    std::vector<HudLine> lines;
    std::vector<HudTriangle> triangles;
};

// Code of an instrument keyword ("SPEEDOMETER_TEXT" ... "ATTITUDEINDICATOR"), or -1.
int HudInstrumentCode(const char* keyword);

// Replaces layout by the script read from file. Fractions in the file are scaled by the window size (a SIZE by
// the width); every unrecognised line is logged and skipped.
void ReadHudScript(FILE* file, float width, float height, HudLayout& layout);
