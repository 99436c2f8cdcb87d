// Renders a text the way CBitmapFont draws it in a window, as a PGM mask (255 where a glyph pixel is set),
// for screenshot comparisons: text_reference OUT.pgm WIDTH HEIGHT FONTFILE|- FACE CELLHEIGHT WEIGHT X Y TEXT
// X, Y is the baseline start in window pixels from the lower-left corner; FONTFILE is registered as FACE.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/fontface.h"

int main(int argc, char** argv) {
    if (argc != 11)
        return 2;
    const int width = atoi(argv[2]);
    const int height = atoi(argv[3]);
    const std::wstring face(argv[5], argv[5] + std::string(argv[5]).size());
    if (std::string(argv[4]) != "-" && !RegisterPrivateFontFile(argv[4], face))
        return 1;
    const GlyphSet set = RenderFaceGlyphs(face, atoi(argv[6]), atoi(argv[7]), 32, 96);
    float penX = float(atof(argv[8]));
    const float penY = float(atof(argv[9]));
    std::vector<unsigned char> image(size_t(width) * size_t(height), 0);
    for (const char* p = argv[10]; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c < 32 || c > 127)
            continue;
        const GlyphBitmap& g = set.glyphs[c - 32];
        // glBitmap puts the lower-left corner of the bitmap at the raster position minus the origin.
        const int left = int(std::floor(penX - g.xorig));
        const int bottom = int(std::floor(penY - g.yorig));
        const int rowBytes = (g.width + 7) / 8;
        for (int row = 0; row < g.rows; ++row)
            for (int col = 0; col < g.width; ++col) {
                const int x = left + col, y = bottom + row;
                const bool ink = g.bits[size_t(row * rowBytes + col / 8)] & (0x80 >> (col % 8));
                if (ink && x >= 0 && x < width && y >= 0 && y < height)
                    image[size_t(height - 1 - y) * size_t(width) + size_t(x)] = 255;
            }
        penX += g.advance;
    }
    FILE* out = fopen(argv[1], "wb");
    if (!out)
        return 1;
    fprintf(out, "P5\n%d %d\n255\n", width, height);
    fwrite(image.data(), 1, image.size(), out);
    return fclose(out) == 0 ? 0 : 1;
}
