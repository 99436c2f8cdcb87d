#pragma once

#include <cstddef>
#include <vector>

// A small stroke alphabet for lettering in models and pictures: each glyph is a few polylines on a grid
// 4 units wide and 6 high (baseline at y = 0), drawn as bars of some thickness. Upper case, digits, - . :
struct StrokePoint {
    float x, y;
};
using StrokeLine = std::vector<StrokePoint>;

constexpr float kGlyphWidth = 4.0f;
constexpr float kGlyphHeight = 6.0f;
constexpr float kGlyphAdvance = 5.5f;  // glyph width plus the gap to the next one

// The polylines of c (lower case is drawn as upper case); empty for a blank or an unknown character.
const std::vector<StrokeLine>& GlyphStrokes(char c);

// Width in grid units of text set with kGlyphAdvance (no gap after the last glyph).
float StrokeTextWidth(const char* text);

// Calls draw(a, b) for every bar of text laid out from (0, 0) in grid units, left to right.
template <typename Draw>
void ForEachStrokeBar(const char* text, Draw draw) {
    float x = 0.0f;
    for (const char* c = text; *c; c++, x += kGlyphAdvance)
        for (const StrokeLine& line : GlyphStrokes(*c))
            for (size_t i = 0; i + 1 < line.size(); i++)
                draw(StrokePoint{x + line[i].x, line[i].y}, StrokePoint{x + line[i + 1].x, line[i + 1].y});
}
