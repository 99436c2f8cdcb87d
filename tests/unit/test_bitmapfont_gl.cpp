#include <gtest/gtest.h>

#include <GL/glew.h>

#include "glframe.h"
#include "hud/bitmapfont.h"
#include "menus/menupages.h"
#include "testutil.h"

namespace {

const int kW = 320;
const int kH = 240;

// Fonts print into an off-screen 320x240 frame in pixel coordinates.
class BitmapFontGL : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(screen.Open(kW, kH));
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        Begin2D();
        Clear();
    }
    void TearDown() override { End2D(); }
    static void Clear() {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    static GlFrame Grab() { return GlFrame::Grab(kW, kH); }

    GameTreeSandbox sandbox;
    TestScreen screen;
};

}  // namespace

TEST_F(BitmapFontGL, BytesOutsideTheFontDrawNothing) {
    CBitmapFont arial(L"Arial", 24, 400);
    CBitmapFont courier(L"Courier New", 24, 700);  // made right after: its lists follow arial's
    arial.Print("AB", 20, 50);
    const GlFrame plain = Grab();
    Clear();
    arial.Print("A\x01\x1f\x80\xc8\xff" "B", 20, 50);
    EXPECT_EQ(Grab().rgb, plain.rgb);
    Clear();
    arial.Print(nullptr, 20, 50);
    EXPECT_EQ(Grab().LitCount(), 0);
}

TEST_F(BitmapFontGL, TextStartingOutsideTheWindowIsSkippedAndClippedAtTheRight) {
    CBitmapFont arial(L"Arial", 24, 400);
    arial.Print("WWWW", -5, 50);
    arial.Print("WWWW", 50, -3);
    EXPECT_EQ(Grab().LitCount(), 0);
    arial.Print("WWWWWWWWWWWWWWWWWWWW", 250, 50);
    EXPECT_EQ(Grab().RightmostInk(), kW - 1);
}

