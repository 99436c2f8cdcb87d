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

// Only the given channel is lit in the box, and something is.
bool OnlyChannel(const GlFrame& f, int x0, int y0, int w, int h, int channel) {
    bool any = false;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const unsigned char* p = f.At(x, y);
            if (!f.Lit(x, y))
                continue;
            any = true;
            for (int k = 0; k < 3; ++k)
                if ((k == channel) != (p[k] > 0))
                    return false;
        }
    return any;
}

}  // namespace

TEST_F(BitmapFontGL, EmptyTextDrawsNothingAndLeavesHalfWhite) {
    CBitmapFont arial(L"Arial", 24, 400);
    arial.Print("", 10, 10);
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(Grab().LitCount(), 0);
    EXPECT_EQ(std::vector<float>(colour, colour + 4), (std::vector<float>{1.0f, 1.0f, 1.0f, 0.5f}));
}

TEST_F(BitmapFontGL, BaselineStartsAtThePrintPosition) {
    CBitmapFont arial(L"Arial", 24, 400);
    arial.Print("L", 10, 10);
    int left, right, bottom;
    Grab().InkBounds(left, right, bottom);
    EXPECT_EQ(bottom, 10);
    EXPECT_GE(left, 10);
    EXPECT_LE(left, 13);
}

TEST_F(BitmapFontGL, EachPrintUsesItsFontsCurrentColour) {
    CBitmapFont arial(L"Arial", 24, 400);
    CBitmapFont courier(L"Courier New", 24, 700);
    SetFontColor(arial, 1, 0, 0);
    SetFontColor(courier, 0, 1, 0);
    arial.Print("M", 10, 100);
    courier.Print("M", 60, 100);
    arial.Print("M", 110, 100);
    SetFontColor(arial, 0, 0, 1);
    arial.Print("M", 160, 100);
    const GlFrame f = Grab();
    EXPECT_TRUE(OnlyChannel(f, 10, 95, 45, 35, 0));
    EXPECT_TRUE(OnlyChannel(f, 60, 95, 45, 35, 1));
    EXPECT_TRUE(OnlyChannel(f, 110, 95, 45, 35, 0));
    EXPECT_TRUE(OnlyChannel(f, 160, 95, 45, 35, 2));
}

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
    int left, right, bottom;
    Grab().InkBounds(left, right, bottom);
    EXPECT_EQ(right, kW - 1);
}

