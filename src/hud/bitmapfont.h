#pragma once

#include <cstdint>
#include <memory>

// A face rendered once into 96 display lists, one per character code 32 .. 127, each drawing its glyph at the
// raster position and advancing it. The owner may recolour the font at any time; Print reads the colour afresh.
class CBitmapFont {
public:
    // face: "Arial", "Courier New", "Beware" (the private font file) or any installed family; height is the
    // character cell in pixels; weight 0 .. 1000 (400 normal, 700 bold).
    CBitmapFont(const wchar_t* face, int16_t height, int weight);
    ~CBitmapFont();
    CBitmapFont(const CBitmapFont&) = delete;
    CBitmapFont& operator=(const CBitmapFont&) = delete;

    // Draws text left-aligned with the left end of its baseline at (x, y) in the current coordinates, skipping
    // characters outside 32 .. 127; in a flat pass (scene/glstate.h). The text of the 2D path (hud/draw2d.h).
    // Leaves the current colour at (1, 1, 1, 0.5).
    void Print(const char* text, int x, int y) const;
    // The colour the next Print draws in.
    void SetColor(float r, float g, float b, float a = 1.0f);
    void SetColor(const float rgba[4]);

    uint32_t listBase = 0;  // first of the 96 lists, 0 when none could be reserved
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
    float alpha = 1.0f;
};

// A font in the given colour, fully opaque.
std::unique_ptr<CBitmapFont> MakeFont(const wchar_t* face, int height, int weight, float r, float g, float b);

// Makes "../hudFont.ttf" available as the face "Beware" until UnregisterPrivateFont. Call before the first
// font is made and after the last one is gone.
void RegisterPrivateFont();
void UnregisterPrivateFont();
