#pragma once
// Turns a face name, cell height and weight into 1-bit glyph bitmaps (FreeType + fontconfig).
#include <cstdint>
#include <string>
#include <vector>

// One glyph in the layout glBitmap takes with GL_UNPACK_ALIGNMENT 1: rows bottom-up, each row
// (width + 7) / 8 bytes, most significant bit leftmost.
struct GlyphBitmap {
    int width = 0;
    int rows = 0;
    float xorig = 0.0f;  // pen position to bitmap's left edge, negated (glBitmap's xorig)
    float yorig = 0.0f;  // pen position to bitmap's bottom row, negated (glBitmap's yorig)
    float advance = 0.0f;
    std::vector<uint8_t> bits;
};

// The glyphs of codes first .. first + count - 1 rendered from one face.
struct GlyphSet {
    std::string file;     // font file the face came from, empty when no face could be loaded
    std::string family;   // family name of that face
    int ascent = 0;       // pixels above the baseline
    int descent = 0;      // pixels below it; ascent + descent is the cell height
    bool syntheticBold = false;
    std::vector<GlyphBitmap> glyphs;
};

// Makes the face of a private font file available under faceName for this process. A missing or unreadable
// file logs one line and leaves faceName to fall back to a sans face.
bool RegisterPrivateFontFile(const std::string& path, const std::wstring& faceName);
// Forgets every private font file again.
void UnregisterPrivateFontFiles();

// Renders the glyphs. "Arial" and "Courier New" resolve to their metric-compatible Liberation faces; an
// unknown face logs one line (once per name) and falls back to a system sans face. cellHeight > 0 is the
// whole cell (ascent + descent), < 0 the em height; weight is 0 .. 1000, from 600 up bold (synthesised
// when the family has no bold face). A code the face lacks gets the face's missing-glyph shape.
GlyphSet RenderFaceGlyphs(const std::wstring& faceName, int cellHeight, int weight, int first, int count);
