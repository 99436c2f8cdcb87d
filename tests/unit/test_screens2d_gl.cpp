// The 2D passes drawn into an off-screen window as the game draws them: bitmap fonts, the HUD and the
// loading screen.
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

// The whole colour buffer read back at once, addressed from the lower-left corner.
struct GlFrame {
    int width = 0;
    std::vector<unsigned char> rgb;

    static GlFrame Grab(int width, int height) {
        GlFrame f;
        f.width = width;
        f.rgb.resize(size_t(width * height * 3));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, f.rgb.data());
        return f;
    }
    bool Is(int x, int y, const int c[3]) const {
        const unsigned char* p = &rgb[size_t((y * width + x) * 3)];
        return std::abs(p[0] - c[0]) < 12 && std::abs(p[1] - c[1]) < 12 && std::abs(p[2] - c[2]) < 12;
    }
    bool Lit(size_t pixel) const { return rgb[pixel * 3] | rgb[pixel * 3 + 1] | rgb[pixel * 3 + 2]; }
    int LitCount() const {
        int n = 0;
        for (size_t i = 0; i < rgb.size() / 3; ++i)
            n += Lit(i) ? 1 : 0;
        return n;
    }
    // The rightmost column with a lit pixel; -1 when none.
    int RightmostInk() const {
        int right = -1;
        for (size_t i = 0; i < rgb.size() / 3; ++i)
            if (Lit(i))
                right = std::max(right, int(i % size_t(width)));
        return right;
    }
};

// An off-screen window of W x H in a fresh game tree: the settings name its size and the HUD face "Beware" is
// the packaged font the game ships. Everything is put back afterwards.
template <int W, int H>
class Screen2D : public ::testing::Test {
protected:
    void SetUp() override {
        saved = gSettings;
        ASSERT_TRUE(MakeTestGLContext());
        gSettings.screenWidth = W;
        gSettings.screenHeight = H;
        RegisterPrivateFontFile("/usr/share/fonts/opentype/ferrite-core/FerriteCoreDX-Regular.otf", L"Beware");
        frame.reset(new TestFramebuffer(W, H));
        Clear();
    }
    void TearDown() override {
        frame.reset();
        UnregisterPrivateFontFiles();
        gSettings = saved;
    }
    static void Clear() {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    static GlFrame Grab() { return GlFrame::Grab(W, H); }

    GameTreeSandbox sandbox;
    GameSettings saved;
    std::unique_ptr<TestFramebuffer> frame;
};

// Fonts print into a 320x240 frame in pixel coordinates.
class BitmapFontGL : public Screen2D<320, 240> {
protected:
    void SetUp() override {
        Screen2D::SetUp();
        if (!HasFatalFailure())
            BeginFlat(FLAT_SOLID);
    }
    void TearDown() override {
        EndFlat();
        Screen2D::TearDown();
    }
};

// A horizon of size 100 at (400, 300), centre (450, 350); a yellow triangle and shapes naming vertices that do
// not exist.
const char* kProbeScript =
    "VERTEX 0.0 0.9\nVERTEX 0.1 0.9\nVERTEX 0.05 1.0\nTRIANGLE 0 1 2 1 1 0 1\nTRIANGLE 0 1 9 1 0 1 1\n"
    "LINE 0 -1 1 1 1 1\n"
    "BEGININSTRUMENT\nTYPE ATTITUDEINDICATOR\nPOSITION 0.5 0.5\nSIZE 0.125\nENDINSTRUMENT\n";

const int kSky[3] = {128, 128, 230}, kGround[3] = {128, 128, 128}, kBezel[3] = {77, 77, 77};
const int kYellow[3] = {255, 255, 0}, kMagenta[3] = {255, 0, 255};

// The HUD drawn into an 800x600 frame, as the race renderer draws it.
class HudGL : public Screen2D<800, 600> {
protected:
    void SetUp() override {
        Screen2D::SetUp();
        if (HasFatalFailure())
            return;
        hud.reset(new CHud(&camera));
        WriteText(sandbox.Path("Scripts/probe.txt"), kProbeScript);
        hud->LoadScript("../Scripts/probe.txt");
    }
    void TearDown() override {
        hud.reset();
        Screen2D::TearDown();
    }
    GlFrame Draw() {
        Clear();
        BeginFlat(FLAT_SHAPES);
        hud->Draw();
        EndFlat();
        return Grab();
    }

    CCamera camera;
    std::unique_ptr<CHud> hud;
};

class LoadingScreenGL : public Screen2D<320, 240> {};

GLint Depth(GLenum which) {
    GLint depth = 0;
    glGetIntegerv(which, &depth);
    return depth;
}

}  // namespace

// Bytes outside the font draw nothing; text starting outside the window is skipped, and clipped at the right.
TEST_F(BitmapFontGL, BytesOutsideTheFontAndTextOutsideTheWindowDrawNothing) {
    CBitmapFont arial(L"Arial", 24, 400);
    CBitmapFont courier(L"Courier New", 24, 700);  // made right after: its lists follow arial's
    arial.Print("AB", 20, 50);
    const GlFrame plain = Grab();
    Clear();
    arial.Print("A\x01\x1f\x80\xc8\xff" "B", 20, 50);
    EXPECT_EQ(Grab().rgb, plain.rgb);
    Clear();
    arial.Print(nullptr, 20, 50);
    arial.Print("WWWW", -5, 50);
    arial.Print("WWWW", 50, -3);
    EXPECT_EQ(Grab().LitCount(), 0);
    arial.Print("WWWWWWWWWWWWWWWWWWWW", 250, 50);
    EXPECT_EQ(Grab().RightmostInk(), 320 - 1);
}

TEST_F(HudGL, ShapesNamingMissingVerticesAreLeftOutAndTheHorizonFollowsPitchAndRoll) {
    GlFrame f = Draw();
    EXPECT_TRUE(f.Is(40, 560, kYellow));
    EXPECT_FALSE(f.Is(10, 545, kMagenta));
    camera.pitch = 10.0f;  // raised 10 pixels
    f = Draw();
    EXPECT_TRUE(f.Is(450, 355, kGround));
    EXPECT_TRUE(f.Is(450, 365, kSky));
    camera.pitch = 60.0f;  // only 0.4 of the size: 40 pixels
    EXPECT_TRUE(Draw().Is(450, 385, kGround));
    camera.pitch = -60.0f;
    EXPECT_TRUE(Draw().Is(450, 315, kSky));
    camera.pitch = 0.0f;
    camera.roll = 90.0f;  // the sky turns to the left
    f = Draw();
    EXPECT_TRUE(f.Is(435, 360, kSky));
    EXPECT_TRUE(f.Is(465, 360, kGround));
    // The bezel covers the square outside the disc of radius 40.
    EXPECT_TRUE(f.Is(402, 302, kBezel));
    EXPECT_TRUE(f.Is(450, 396, kBezel));
    EXPECT_FALSE(f.Is(450, 370, kBezel));
}

TEST_F(HudGL, UnreadableScriptLeavesAnEmptyHud) {
    hud->LoadScript("../Scripts/no-such-hud.txt");
    EXPECT_EQ(Draw().LitCount(), 0);
    EXPECT_EQ(ReadText("log.txt"), "");
}

// The loading screen is visited before every race: each visit, and each redraw from inside a loader, must
// leave the matrix and attribute stacks as it found them, or they overflow after a few dozen races, and the
// state too, or the next screen draws on its leftovers.
TEST_F(LoadingScreenGL, VisitsKeepTheStacksTheStateAndTheLoaderProjection) {
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
