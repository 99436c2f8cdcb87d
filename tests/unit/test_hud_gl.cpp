#include <gtest/gtest.h>

#include <GL/glew.h>

#include <memory>
#include <string>

#include "glframe.h"
#include "hud/bitmapfont.h"
#include "hud/hud.h"
#include "race/vehicle.h"
#include "scene/transformation.h"
#include "testutil.h"

namespace {

const int kW = 800;
const int kH = 600;

// A horizon of size 100 at (400, 300), centre (450, 350); a yellow triangle and shapes naming vertices that do
// not exist.
const char* kProbeScript =
    "VERTEX 0.0 0.9\nVERTEX 0.1 0.9\nVERTEX 0.05 1.0\nTRIANGLE 0 1 2 1 1 0 1\nTRIANGLE 0 1 9 1 0 1 1\n"
    "LINE 0 -1 1 1 1 1\n"
    "BEGININSTRUMENT\nTYPE ATTITUDEINDICATOR\nPOSITION 0.5 0.5\nSIZE 0.125\nENDINSTRUMENT\n";

const int kSky[3] = {128, 128, 230};
const int kGround[3] = {128, 128, 128};
const int kBezel[3] = {77, 77, 77};

// The HUD drawn into an off-screen 800x600 frame, as the race renderer draws it between Begin2D and End2D.
class HudGL : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(screen.Open(kW, kH));
        hud.reset(new CHud(&camera));
        WriteText(sandbox.Path("Scripts/probe.txt"), kProbeScript);
        hud->LoadScript("../Scripts/probe.txt");
    }
    void TearDown() override { hud.reset(); }
    GlFrame Draw() {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        Begin2D();
        hud->Draw();
        End2D();
        return GlFrame::Grab(kW, kH);
    }
    static bool Is(const GlFrame& f, int x, int y, const int c[3]) { return f.Is(x, y, c[0], c[1], c[2]); }

    GameTreeSandbox sandbox;
    TestScreen screen;
    CCamera camera;
    std::unique_ptr<CHud> hud;
};

}  // namespace

TEST_F(HudGL, ShapesNamingMissingVerticesAreLeftOutAndTheHorizonFollowsPitchAndRoll) {
    GlFrame f = Draw();
    EXPECT_TRUE(f.Is(40, 560, 255, 255, 0));
    EXPECT_FALSE(f.Is(10, 545, 255, 0, 255));
    camera.pitch = 10.0f;  // raised 10 pixels
    f = Draw();
    EXPECT_TRUE(Is(f, 450, 355, kGround));
    EXPECT_TRUE(Is(f, 450, 365, kSky));
    camera.pitch = 60.0f;  // only 0.4 of the size: 40 pixels
    EXPECT_TRUE(Is(Draw(), 450, 385, kGround));
    camera.pitch = -60.0f;
    EXPECT_TRUE(Is(Draw(), 450, 315, kSky));
    camera.pitch = 0.0f;
    camera.roll = 90.0f;  // the sky turns to the left
    f = Draw();
    EXPECT_TRUE(Is(f, 435, 360, kSky));
    EXPECT_TRUE(Is(f, 465, 360, kGround));
    // The bezel covers the square outside the disc of radius 40.
    EXPECT_TRUE(Is(f, 402, 302, kBezel));
    EXPECT_TRUE(Is(f, 450, 396, kBezel));
    EXPECT_FALSE(Is(f, 450, 370, kBezel));
}

TEST_F(HudGL, UnreadableScriptLeavesAnEmptyHud) {
    hud->LoadScript("../Scripts/no-such-hud.txt");
    EXPECT_EQ(Draw().LitCount(), 0);
    EXPECT_EQ(ReadText("log.txt"), "");
}

