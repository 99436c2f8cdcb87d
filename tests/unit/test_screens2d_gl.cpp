// The 2D passes drawn into an off-screen window as the game draws them: bitmap fonts, the HUD and the
// loading screen.
#include <GL/glew.h>
#include <gtest/gtest.h>

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
    // Lit pixels in columns from x0 on.
    int LitCount(int x0 = 0) const {
        int n = 0;
        for (size_t i = 0; i < rgb.size() / 3; ++i)
            n += int(i % kW) >= x0 && (rgb[i * 3] | rgb[i * 3 + 1] | rgb[i * 3 + 2]);
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
        RegisterPrivateFontFile("/usr/share/fonts/opentype/ferrite-core/FerriteCoreDX-Regular.otf", L"Beware");
        frame = std::make_unique<TestFramebuffer>(kW, kH);
        Clear();
    }
    void TearDown() override {
        frame.reset();
        UnregisterPrivateFontFiles();
        gSettings = saved;
    }

    GameTreeSandbox sandbox;
    GameSettings saved = gSettings;
    std::unique_ptr<TestFramebuffer> frame;
};

// A horizon of size 100 at (400, 300), centre (450, 350); a yellow triangle and shapes naming vertices that do
// not exist.
const char* kProbeScript =
    "VERTEX 0.0 0.9\nVERTEX 0.1 0.9\nVERTEX 0.05 1.0\nTRIANGLE 0 1 2 1 1 0 1\nTRIANGLE 0 1 9 1 0 1 1\n"
    "LINE 0 -1 1 1 1 1\n"
    "BEGININSTRUMENT\nTYPE ATTITUDEINDICATOR\nPOSITION 0.5 0.5\nSIZE 0.125\nENDINSTRUMENT\n";

const int kSky[3] = {128, 128, 230}, kGround[3] = {128, 128, 128}, kBezel[3] = {77, 77, 77};
const int kYellow[3] = {255, 255, 0}, kMagenta[3] = {255, 0, 255};

GLint Depth(GLenum which) {
    GLint depth = 0;
    glGetIntegerv(which, &depth);
    return depth;
}

}  // namespace

// Bytes outside the font draw nothing; text starting outside the window is skipped, and clipped at the right.
TEST_F(Screen2D, BitmapFontBytesOutsideTheFontAndTextOutsideTheWindowDrawNothing) {
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
    arial.Print("WWWW", -5, 50);
    arial.Print("WWWW", 50, -3);
    EXPECT_EQ(GlFrame().LitCount(), 0);
    arial.Print("WWWWWWWWWWWWWWWWWWWW", kW - 70, 50);
    EXPECT_GT(GlFrame().LitCount(kW - 1), 0);
    EndFlat();
}

// Shapes naming missing vertices are left out, the horizon follows pitch and roll, and a script that cannot be
// read leaves an empty HUD without a word in the log.
TEST_F(Screen2D, HudShapesNamingMissingVerticesAreLeftOutAndTheHorizonFollowsPitchAndRoll) {
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
    GlFrame f = draw();
    EXPECT_TRUE(f.Is(40, 560, kYellow));
    EXPECT_FALSE(f.Is(10, 545, kMagenta));
    camera.pitch = 10.0f;  // raised 10 pixels
    f = draw();
    EXPECT_TRUE(f.Is(450, 355, kGround));
    EXPECT_TRUE(f.Is(450, 365, kSky));
    camera.pitch = 60.0f;  // only 0.4 of the size: 40 pixels
    EXPECT_TRUE(draw().Is(450, 385, kGround));
    camera.pitch = -60.0f;
    EXPECT_TRUE(draw().Is(450, 315, kSky));
    camera.pitch = 0.0f;
    camera.roll = 90.0f;  // the sky turns to the left
    f = draw();
    EXPECT_TRUE(f.Is(435, 360, kSky));
    EXPECT_TRUE(f.Is(465, 360, kGround));
    // The bezel covers the square outside the disc of radius 40.
    EXPECT_TRUE(f.Is(402, 302, kBezel));
    EXPECT_TRUE(f.Is(450, 396, kBezel));
    EXPECT_FALSE(f.Is(450, 370, kBezel));
    ClearLog();
    hud.LoadScript("../Scripts/no-such-hud.txt");
    EXPECT_EQ(draw().LitCount(), 0);
    EXPECT_EQ(LogText(), "");
}

// The loading screen is visited before every race: each visit, and each redraw from inside a loader, must
// leave the matrix and attribute stacks as it found them, or they overflow after a few dozen races, and the
// state too, or the next screen draws on its leftovers.
TEST_F(Screen2D, LoadingScreenVisitsKeepTheStacksTheStateAndTheLoaderProjection) {
    CLoadRenderer load;
    const GLint projection = Depth(GL_PROJECTION_STACK_DEPTH), modelview = Depth(GL_MODELVIEW_STACK_DEPTH);
    const GLint attributes = Depth(GL_ATTRIB_STACK_DEPTH);
    BeginModelPass();
    const int16_t savedProgress = gLoadingProgress;
    for (int visit = 0; visit < 100; ++visit) {
        load.enter();
        gLoadingProgress = int16_t(visit % 101);
        load.DrawScreen();
        load.leave();
    }
    for (GLenum on : {GL_TEXTURE_2D, GL_LIGHTING, GL_DEPTH_TEST, GL_CULL_FACE})
        EXPECT_TRUE(glIsEnabled(on)) << on;
    EndModelPass();
    EXPECT_EQ(Depth(GL_PROJECTION_STACK_DEPTH), projection);
    EXPECT_EQ(Depth(GL_MODELVIEW_STACK_DEPTH), modelview);
    EXPECT_EQ(Depth(GL_ATTRIB_STACK_DEPTH), attributes);
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

    gLoadingProgress = savedProgress;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}
