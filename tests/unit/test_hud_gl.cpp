#include <gtest/gtest.h>

#include <GL/glew.h>

#include <unistd.h>

#include <cstdio>
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

// A dial of size 200 centred at (180, 60); a horizon of size 100 at (400, 300), centre (450, 350); a damage bar
// of size 200 at (600, 100) whose frame spans x 660..740 and y 126..300; a yellow triangle and shapes naming
// vertices that do not exist.
const char* kProbeScript =
    "VERTEX 0.0 0.9\nVERTEX 0.1 0.9\nVERTEX 0.05 1.0\nTRIANGLE 0 1 2 1 1 0 1\nTRIANGLE 0 1 9 1 0 1 1\n"
    "LINE 0 -1 1 1 1 1\n"
    "BEGININSTRUMENT\nTYPE SPEEDOMETER_GRAPHICAL\nPOSITION 0.1 0.1\nSIZE 0.25\nENDINSTRUMENT\n"
    "BEGININSTRUMENT\nTYPE ATTITUDEINDICATOR\nPOSITION 0.5 0.5\nSIZE 0.125\nENDINSTRUMENT\n"
    "BEGININSTRUMENT\nTYPE DAMAGEINDICATOR_GRAPHICAL\nPOSITION 0.75 0.1666667\nSIZE 0.25\nENDINSTRUMENT\n"
    "BEGININSTRUMENT\nTYPE TIMER\nPOSITION 0.4 0.9\nSIZE 0.1\nENDINSTRUMENT\n";

const int kSky[3] = {128, 128, 230};
const int kGround[3] = {128, 128, 128};
const int kBezel[3] = {77, 77, 77};

void SetReadouts(const char* speed, const char* damage, const char* message) {
    snprintf(gHudSpeedText, sizeof(gHudSpeedText), "%s", speed);
    snprintf(gHudDamageText, sizeof(gHudDamageText), "%s", damage);
    snprintf(gHudMessageText, sizeof(gHudMessageText), "%s", message);
}

// The HUD drawn into an off-screen 800x600 frame, as the race renderer draws it between Begin2D and End2D.
class HudGL : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(screen.Open(kW, kH));
        hud.reset(new CHud(&camera));
        WriteText(sandbox.Path("Scripts/probe.txt"), kProbeScript);
        hud->LoadScript("../Scripts/probe.txt");
    }
    void TearDown() override {
        hud.reset();
        SetReadouts("", "", "");
    }
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

TEST_F(HudGL, NeedleFollowsTheSpeed) {
    SetReadouts("100", "0", "");
    GlFrame f = Draw();
    EXPECT_TRUE(f.NearIs(180, 120, 255, 255, 255));  // straight up
    EXPECT_FALSE(f.NearIs(120, 60, 255, 255, 255));
    SetReadouts("0", "0", "");
    f = Draw();
    EXPECT_TRUE(f.NearIs(120, 60, 255, 255, 255));  // pointing left
    EXPECT_FALSE(f.NearIs(180, 120, 255, 255, 255));
}

TEST_F(HudGL, ShapesNamingMissingVerticesAreLeftOut) {
    const GlFrame f = Draw();
    EXPECT_TRUE(f.Is(40, 560, 255, 255, 0));
    EXPECT_FALSE(f.Is(10, 545, 255, 0, 255));
}

TEST_F(HudGL, DamageBarGrowsFromGreenToRed) {
    SetReadouts("0", "0", "");
    GlFrame f = Draw();
    EXPECT_FALSE(f.Is(700, 200, 0, 255, 0));           // damage 0: a bar of zero height
    EXPECT_TRUE(f.NearIs(740, 200, 178, 178, 255));    // inside the full bar's frame
    SetReadouts("0", "100", "TERMINAL DAMAGE");
    f = Draw();
    EXPECT_TRUE(f.NearIs(700, 297, 255, 0, 0));  // red at the top of the full bar
    EXPECT_TRUE(f.NearIs(700, 130, 0, 255, 0));  // green at its foot
}

TEST_F(HudGL, HorizonFollowsPitchAndRoll) {
    camera.pitch = 10.0f;  // raised 10 pixels
    GlFrame f = Draw();
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

TEST_F(HudGL, RaceClockRunsWhileTheTimerRuns) {
    // The timer's arithmetic is HudTimer's; here, that drawing ticks it and stopping holds it.
    hud->StartTimer(false);
    Draw();
    usleep(120000);
    Draw();
    EXPECT_GE(gRaceClock, 100u);
    hud->StopTimer();
    const uint32_t stopped = gRaceClock;
    usleep(50000);
    Draw();
    EXPECT_EQ(gRaceClock, stopped);
    // Loading a script stops and resets the timer.
    hud->LoadScript("../Scripts/probe.txt");
    EXPECT_FALSE(hud->Timer().running);
    EXPECT_STREQ(hud->Timer().text, "00:00.00");
}

TEST_F(HudGL, UnreadableScriptLeavesAnEmptyHud) {
    hud->LoadScript("../Scripts/no-such-hud.txt");
    EXPECT_EQ(Draw().LitCount(), 0);
    EXPECT_EQ(ReadText("log.txt"), "");
}

