#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/fontface.h"
#include "testutil.h"

namespace {

const char* kHudFontSource = "/usr/share/fonts/opentype/ferrite-core/FerriteCoreDX-Regular.otf";

// Ink extent of a range of glyphs relative to the baseline (positive up).
struct Ink {
    int top = -1000;
    int bottom = 1000;
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

class FontFaceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(RegisterPrivateFontFile(kHudFontSource, L"Beware")); }
    void TearDown() override { UnregisterPrivateFontFiles(); }
    GameTreeSandbox sandbox;  // log.txt lands here
};

}  // namespace

TEST_F(FontFaceTest, CellHeightsBoldWeightsAndFallbacks) {
    for (const wchar_t* face : {L"Arial", L"Courier New", L"Beware"})
        for (int height : {9, 12, 22, 35, 40, 64, 100})
            for (int weight : {400, 700}) {
                SCOPED_TRACE(testing::Message() << "height " << height << " weight " << weight);
                const GlyphSet set = RenderFaceGlyphs(face, int16_t(height), weight, 32, 96);
                ASSERT_EQ(set.glyphs.size(), 96u);
                EXPECT_LE(std::abs(set.ascent + set.descent - height), 1);
                const Ink ink = InkOf(set, kLetters);
                EXPECT_LE(ink.top, set.ascent + 1);
                EXPECT_GE(ink.bottom, -set.descent - 1);
                // Letters fill most of the cell, so the size really follows the request.
                EXPECT_GE(ink.top - ink.bottom, height * 6 / 10);
            }
    // 700 is bold: the private face, which has no bold of its own, gets its strokes thickened. The private face
    // goes with its registration; an unknown face and a damaged private file both draw in sans, each with one log
    // line that names it.
    EXPECT_NE(RenderFaceGlyphs(L"Arial", 40, 700, 32, 96).file.find("LiberationSans-Bold"), std::string::npos);
    const GlyphSet normal = RenderFaceGlyphs(L"Beware", 40, 400, 32, 96);
    const GlyphSet bold = RenderFaceGlyphs(L"Beware", 40, 700, 32, 96);
    EXPECT_EQ(normal.file, kHudFontSource);
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
