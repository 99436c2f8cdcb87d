// Draws with CBitmapFont in a real GL window and checks the pixels: font_probe FONTFILE. Prints one line per
// check and exits non-zero when any fails. Run under an X server.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

#include <vector>

#include "data/settings.h"
#include "hud/bitmapfont.h"
#include "platform/fontface.h"

namespace {

const int kW = 320;
const int kH = 240;
int gFailures = 0;

void Check(bool ok, const char* what) {
    printf("%s: %s\n", ok ? "ok" : "FAIL", what);
    if (!ok)
        ++gFailures;
}

struct Frame {
    std::vector<unsigned char> rgb;
    // Pixel from the lower-left corner.
    const unsigned char* At(int x, int y) const { return &rgb[size_t((y * kW + x) * 3)]; }
    bool Lit(int x, int y) const {
        const unsigned char* p = At(x, y);
        return p[0] | p[1] | p[2];
    }
    // Lit pixels in a box, and the box's ink bounds.
    int Count(int x0, int y0, int x1, int y1, int* left = nullptr, int* bottom = nullptr) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (Lit(x, y)) {
                    ++n;
                    if (left && (n == 1 || x < *left))
                        *left = x;
                    if (bottom && (n == 1 || y < *bottom))
                        *bottom = y;
                }
        return n;
    }
    bool SameAs(const Frame& other) const { return rgb == other.rgb; }
};

Frame Grab() {
    Frame f;
    f.rgb.resize(size_t(kW * kH * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kW, kH, GL_RGB, GL_UNSIGNED_BYTE, f.rgb.data());
    return f;
}

void Clear() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

void SetColour(CBitmapFont& font, float r, float g, float b) {
    font.red = r;
    font.green = g;
    font.blue = b;
    font.alpha = 1.0f;
}

void RunChecks() {
    CBitmapFont arial(L"Arial", 24, 400);
    CBitmapFont other(L"Courier New", 24, 700);  // made right after: its lists follow arial's
    CBitmapFont beware(L"Beware", 40, 400);
    CBitmapFont bewareBold(L"Beware", 40, 700);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    Begin2D();

    Clear();
    arial.Print("", 10, 10);
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    Check(Grab().Count(0, 0, kW, kH) == 0, "an empty string draws nothing");
    Check(colour[0] == 1 && colour[1] == 1 && colour[2] == 1 && colour[3] == 0.5f,
          "after a Print the colour is (1, 1, 1, 0.5)");

    Clear();
    arial.Print("L", 10, 10);
    int left = 0, bottom = 0;
    const Frame l = Grab();
    Check(l.Count(0, 0, kW, kH, &left, &bottom) > 0 && bottom == 10 && left >= 10 && left <= 13,
          "Print(\"L\", 10, 10) has its baseline 10 pixels up and starts at the left edge + 10");

    Clear();
    SetColour(arial, 1, 0, 0);
    SetColour(other, 0, 1, 0);
    arial.Print("M", 10, 100);
    other.Print("M", 60, 100);
    arial.Print("M", 110, 100);
    SetColour(arial, 0, 0, 1);
    arial.Print("M", 160, 100);
    const Frame c = Grab();
    auto only = [&](int x0, int channel) {
        bool any = false;
        for (int y = 95; y < 130; ++y)
            for (int x = x0; x < x0 + 45; ++x) {
                const unsigned char* p = c.At(x, y);
                if (p[0] | p[1] | p[2]) {
                    any = true;
                    for (int k = 0; k < 3; ++k)
                        if ((k == channel) != (p[k] > 0))
                            return false;
                }
            }
        return any;
    };
    Check(only(10, 0) && only(60, 1) && only(110, 0), "fonts printed alternately keep their own colours");
    Check(only(160, 2), "recolouring a font changes only the texts printed afterwards");

    Clear();
    SetColour(arial, 1, 1, 1);
    arial.Print("AB", 20, 50);
    const Frame plain = Grab();
    Clear();
    arial.Print("A\x01\x1f\x80\xc8\xff" "B", 20, 50);
    Check(Grab().SameAs(plain), "bytes outside 32..127 draw nothing, not another font's glyphs");

    auto rightmost = [](const Frame& f) {
        int right = -1;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (f.Lit(x, y))
                    right = std::max(right, x);
        return right;
    };
    Clear();
    arial.Print("I I", 20, 50);
    const int spaced = rightmost(Grab());
    Clear();
    arial.Print("II", 20, 50);
    const int tight = rightmost(Grab());
    Check(spaced > tight, "a space advances the text");

    Clear();
    arial.Print("WWWW", -5, 50);
    arial.Print("WWWW", 50, -3);
    Check(Grab().Count(0, 0, kW, kH) == 0, "a text starting left of or below the window is not drawn");
    Clear();
    arial.Print("WWWWWWWWWWWWWWWWWWWW", 250, 50);
    const Frame edge = Grab();
    Check(edge.Count(kW - 5, 40, kW, 80) > 0, "a text running past the right edge is drawn up to the edge");

    Clear();
    beware.Print("HUD", 10, 100);
    const int regular = Grab().Count(0, 0, kW, kH);
    Clear();
    bewareBold.Print("HUD", 10, 100);
    const int bold = Grab().Count(0, 0, kW, kH);
    printf("Beware HUD: %d pixels at 400, %d at 700\n", regular, bold);
    Check(regular > 200 && bold > regular * 5 / 4, "weight 700 draws visibly heavier strokes");

    End2D();
}

void Display() {
    static bool done = false;
    if (done)
        return;
    done = true;
    glewInit();
    RunChecks();
    UnregisterPrivateFontFiles();
    printf("%d failed\n", gFailures);
    fflush(stdout);
    _exit(gFailures ? 1 : 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: font_probe FONTFILE\n");
        return 2;
    }
    gSettings.screenWidth = kW;
    gSettings.screenHeight = kH;
    RegisterPrivateFontFile(argv[1], L"Beware");
    int one = 1;
    glutInit(&one, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_SINGLE);
    glutInitWindowSize(kW, kH);
    glutCreateWindow("font probe");
    glutDisplayFunc(Display);
    glutMainLoop();
    return 1;
}
