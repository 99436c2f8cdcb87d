// The font faces, and the 2D passes drawn into an off-screen window as the game draws them: bitmap fonts, the
// HUD and the loading screen.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/loading.h"
#include "app/states.h"
#include "data/settings.h"
#include "glcontext.h"
#include "hud/bitmapfont.h"
#include "hud/hud.h"
#include "platform/fontface.h"
#include "scene/glstate.h"
#include "scene/transformation.h"
#include "testutil.h"

namespace {

constexpr int kW = 800, kH = 600;
const char* kHudFontSource = "/usr/share/fonts/opentype/ferrite-core/FerriteCoreDX-Regular.otf";

// Ink extent of a range of glyphs relative to the baseline (positive up).
struct Ink {
    int top = -1000, bottom = 1000;
    long pixels = 0;
};

Ink InkOf(const GlyphSet& set, const std::string& codes) {
    Ink ink;
    for (char c : codes) {
        const GlyphBitmap& g = set.glyphs[size_t(c - 32)];
        if (g.rows == 0)
            continue;
        ink.top = std::max(ink.top, g.rows - int(g.yorig));
        ink.bottom = std::min(ink.bottom, -int(g.yorig));
        for (uint8_t byte : g.bits)
            ink.pixels += __builtin_popcount(byte);
    }
    return ink;
}

const std::string kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// The whole colour buffer read back at once, addressed from the lower-left corner.
struct GlFrame {
    std::vector<unsigned char> rgb = std::vector<unsigned char>(size_t(kW * kH * 3));

    GlFrame() {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kW, kH, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    }
    bool Is(int x, int y, const int c[3]) const {
        const unsigned char* p = &rgb[size_t((y * kW + x) * 3)];
        return std::abs(p[0] - c[0]) < 12 && std::abs(p[1] - c[1]) < 12 && std::abs(p[2] - c[2]) < 12;
    }
    int LitCount() const {
        int n = 0;
        for (size_t i = 0; i < rgb.size() / 3; ++i) n += (rgb[i * 3] | rgb[i * 3 + 1] | rgb[i * 3 + 2]) != 0;
        return n;
    }
};

void Clear() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

// An off-screen window of kW x kH in a fresh game tree: the settings name its size and the HUD face "Beware" is
// the packaged font the game ships. Everything is put back afterwards.
class Screen2D : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(MakeTestGLContext());
        gSettings.screenWidth = kW;
        gSettings.screenHeight = kH;
        ASSERT_TRUE(RegisterPrivateFontFile(kHudFontSource, L"Beware"));
        frame = std::make_unique<TestFramebuffer>(kW, kH);
        Clear();
    }
    void TearDown() override {
        UnregisterPrivateFontFiles();
        gSettings = saved;
    }

    GameTreeSandbox sandbox;
    GameSettings saved = gSettings;
    std::unique_ptr<TestFramebuffer> frame;
};

// A yellow triangle and shapes naming vertices that do not exist.
const char* kProbeScript =
    "VERTEX 0.0 0.9\nVERTEX 0.1 0.9\nVERTEX 0.05 1.0\nTRIANGLE 0 1 2 1 1 0 1\nTRIANGLE 0 1 9 1 0 1 1\n"
    "LINE 0 -1 1 1 1 1\n";

const int kYellow[3] = {255, 255, 0}, kMagenta[3] = {255, 0, 255};

// The depths of the projection, model-view and attribute stacks.
std::vector<GLint> StackDepths() {
    std::vector<GLint> depths;
    for (GLenum which : {GL_PROJECTION_STACK_DEPTH, GL_MODELVIEW_STACK_DEPTH, GL_ATTRIB_STACK_DEPTH})
        glGetIntegerv(which, &depths.emplace_back());
    return depths;
}

}  // namespace

// A face's cell is the height asked for, and its letters fill most of it. 700 is bold: the private face, which has
// no bold of its own, gets its strokes thickened. The private face goes with its registration; an unknown face and
// a damaged private file both draw in sans, each with one log line that names it.
TEST_F(Screen2D, FontFaceCellHeightsBoldWeightsAndFallbacks) {
    EXPECT_NE(RenderFaceGlyphs(L"Arial", 40, 700, 32, 96).file.find("LiberationSans-Bold"), std::string::npos);
    const GlyphSet normal = RenderFaceGlyphs(L"Beware", 40, 400, 32, 96);
    const GlyphSet bold = RenderFaceGlyphs(L"Beware", 40, 700, 32, 96);
    EXPECT_EQ(normal.file, kHudFontSource);
    EXPECT_LE(std::abs(normal.ascent + normal.descent - 40), 1);
    const Ink ink = InkOf(normal, kLetters);
    EXPECT_LE(ink.top, normal.ascent + 1);
    EXPECT_GE(ink.bottom, -normal.descent - 1);
    EXPECT_GE(ink.top - ink.bottom, 24);
    EXPECT_TRUE(bold.syntheticBold);
    EXPECT_GT(InkOf(bold, kLetters).pixels, InkOf(normal, kLetters).pixels * 5 / 4);
    EXPECT_GE(bold.glyphs['M' - 32].advance, normal.glyphs['M' - 32].advance);
    EXPECT_GT(InkOf(RenderFaceGlyphs(L"No Such Face Anywhere", 24, 400, 32, 96), kLetters).pixels, 0);
    EXPECT_GT(InkOf(RenderFaceGlyphs(L"No Such Face Anywhere", 30, 700, 32, 96), kLetters).pixels, 0);
    WriteText(sandbox.Path("broken.ttf"), "not a font at all");
    EXPECT_FALSE(RegisterPrivateFontFile("../broken.ttf", L"Broken"));
    EXPECT_GT(InkOf(RenderFaceGlyphs(L"Broken", 40, 400, 32, 96), kLetters).pixels, 0);
    EXPECT_EQ(CountOf(LogText(), "\n"), 2) << LogText();
    EXPECT_TRUE(Logged("No Such Face Anywhere"));
    EXPECT_TRUE(Logged("../broken.ttf"));
    UnregisterPrivateFontFiles();
    EXPECT_NE(RenderFaceGlyphs(L"Beware", 24, 400, 32, 96).file, kHudFontSource);
}

// Bytes outside the font, which would call the next font's lists, and a missing text draw nothing. (Text
// starting outside the window, and clipped at its edge, is GL's raster position.) HUD shapes naming missing
// vertices are left out, and a script that cannot be read leaves an empty HUD without a word in the log. (The
// horizon following pitch and roll: the gamepad test's attitude indicator.)
TEST_F(Screen2D, BadBytesAndShapesDrawNothingAndLoadingScreenVisitsKeepTheStacksTheStateAndTheProjection) {
    BeginFlat(FLAT_SOLID);
    CBitmapFont arial(L"Arial", 24, 400);
    CBitmapFont courier(L"Courier New", 24, 700);  // made right after: its lists follow arial's
    arial.Print("AB", 20, 50);
    const GlFrame plain;
    Clear();
    arial.Print("A\x01\x1f\x80\xc8\xff" "B", 20, 50);
    EXPECT_EQ(GlFrame().rgb, plain.rgb);
    Clear();
    arial.Print(nullptr, 20, 50);
    EXPECT_EQ(GlFrame().LitCount(), 0);
    EndFlat();
    CCamera camera;
    CHud hud(&camera);
    WriteText(sandbox.Path("Scripts/probe.txt"), kProbeScript);
    hud.LoadScript("../Scripts/probe.txt");
    const auto draw = [&] {
        Clear();
        BeginFlat(FLAT_SHAPES);
        hud.Draw();
        EndFlat();
        return GlFrame();
    };
    const GlFrame f = draw();
    EXPECT_TRUE(f.Is(40, 560, kYellow));
    EXPECT_FALSE(f.Is(10, 545, kMagenta));
    ClearLog();
    hud.LoadScript("../Scripts/no-such-hud.txt");
    EXPECT_EQ(draw().LitCount(), 0);
    EXPECT_EQ(LogText(), "");

    // The loading screen is visited before every race: each visit, and each redraw from inside a loader, must
    // leave the matrix and attribute stacks as it found them, or they overflow after a few dozen races, and the
    // state too, or the next screen draws on its leftovers.
    CLoadRenderer load;
    const std::vector<GLint> stacks = StackDepths();
    BeginModelPass();
    for (int visit = 0; visit < 100; ++visit) {
        load.enter();
        gLoadingProgress = int16_t(visit % 101);
        load.DrawScreen();
        load.leave();
    }
    for (GLenum on : {GL_TEXTURE_2D, GL_LIGHTING, GL_DEPTH_TEST, GL_CULL_FACE})
        EXPECT_TRUE(glIsEnabled(on)) << on;
    EndModelPass();
    EXPECT_EQ(StackDepths(), stacks);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // A redraw in the middle of a load keeps the perspective the loader has just set.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(2.0f, 3.0f, 4.0f);
    glMatrixMode(GL_MODELVIEW);
    gLoadingProgress = 50;
    load.DrawScreen();
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(m[0], 2.0f);
    EXPECT_FLOAT_EQ(m[5], 3.0f);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}
