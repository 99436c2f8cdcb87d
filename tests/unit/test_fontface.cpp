#include <gtest/gtest.h>

#include <algorithm>

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

TEST_F(FontFaceTest, CellHeightMatchesTheRequestWithinAPixel) {
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
}

TEST_F(FontFaceTest, FacesResolveToLiberationAndThePrivateFile) {
    EXPECT_NE(RenderFaceGlyphs(L"Arial", 24, 400, 32, 96).file.find("LiberationSans-Regular"), std::string::npos);
    EXPECT_NE(RenderFaceGlyphs(L"Courier New", 24, 400, 32, 96).file.find("LiberationMono-Regular"),
              std::string::npos);
    EXPECT_EQ(RenderFaceGlyphs(L"Beware", 24, 400, 32, 96).file, kHudFontSource);
    // The private face is not a system one: it goes away with the registration.
    UnregisterPrivateFontFiles();
    EXPECT_NE(RenderFaceGlyphs(L"Beware", 24, 400, 32, 96).file, kHudFontSource);
}

TEST_F(FontFaceTest, Weight700IsBold) {
    const GlyphSet arial = RenderFaceGlyphs(L"Arial", 40, 700, 32, 96);
    EXPECT_NE(arial.file.find("LiberationSans-Bold"), std::string::npos);
    EXPECT_FALSE(arial.syntheticBold);
    // The private face has no bold of its own: its strokes are thickened.
    const GlyphSet normal = RenderFaceGlyphs(L"Beware", 40, 400, 32, 96);
    const GlyphSet bold = RenderFaceGlyphs(L"Beware", 40, 700, 32, 96);
    EXPECT_FALSE(normal.syntheticBold);
    EXPECT_TRUE(bold.syntheticBold);
    EXPECT_GT(InkOf(bold, kLetters).pixels, InkOf(normal, kLetters).pixels * 5 / 4);
    EXPECT_GE(bold.glyphs['M' - 32].advance, normal.glyphs['M' - 32].advance);
}

TEST_F(FontFaceTest, GlyphsAdvanceAndSpaceIsBlank) {
    const GlyphSet set = RenderFaceGlyphs(L"Courier New", 20, 400, 32, 96);
    const GlyphBitmap& space = set.glyphs[0];
    EXPECT_EQ(space.rows, 0);
    EXPECT_GT(space.advance, 0.0f);
    // A monospaced face advances every printable character alike.
    for (int k = 1; k < 95; ++k)
        EXPECT_EQ(set.glyphs[size_t(k)].advance, space.advance) << "code " << (32 + k);
    for (const GlyphBitmap& g : set.glyphs)
        EXPECT_EQ(g.bits.size(), size_t((g.width + 7) / 8 * g.rows));
}

// An unknown face and a damaged private file both draw in sans, each with one log line that names it.
TEST_F(FontFaceTest, UnknownFacesAndDamagedFilesFallBackToSansWithOneLogLine) {
    const GlyphSet first = RenderFaceGlyphs(L"No Such Face Anywhere", 24, 400, 32, 96);
    const GlyphSet second = RenderFaceGlyphs(L"No Such Face Anywhere", 30, 700, 32, 96);
    EXPECT_FALSE(first.file.empty());
    EXPECT_GT(InkOf(first, kLetters).pixels, 0);
    EXPECT_GT(InkOf(second, kLetters).pixels, 0);
    WriteText(sandbox.Path("broken.ttf"), "not a font at all");
    EXPECT_FALSE(RegisterPrivateFontFile("../broken.ttf", L"Broken"));
    EXPECT_GT(InkOf(RenderFaceGlyphs(L"Broken", 40, 400, 32, 96), kLetters).pixels, 0);
    const std::string log = ReadText("log.txt");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
    EXPECT_NE(log.find("No Such Face Anywhere"), std::string::npos);
    EXPECT_NE(log.find("../broken.ttf"), std::string::npos);
}
