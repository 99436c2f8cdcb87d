#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "hud/hudscript.h"
#include "hud/hudtexts.h"
#include "hudscripts.h"
#include "platform/fontface.h"
#include "testutil.h"

namespace {

const float kW = 800.0f;
const float kH = 600.0f;

// Parses text as a HUD script in an 800x600 window; log.txt of the sandbox collects the messages.
HudLayout Parse(const std::string& text, float width = kW, float height = kH) {
    HudLayout layout;
    FILE* f = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    EXPECT_NE(f, nullptr);
    if (f) {
        ReadHudScript(f, width, height, layout);
        fclose(f);
    }
    return layout;
}

std::string Block(const std::string& type, const std::string& body = "POSITION 0.5 0.25\nSIZE 0.1\n") {
    return "BEGININSTRUMENT\nTYPE " + type + "\n" + body + "ENDINSTRUMENT\n";
}

// The pixels a text's glyphs cover when printed at a baseline's left end, as the HUD's fonts draw them.
struct Box {
    int left = 1 << 20, right = -(1 << 20), bottom = 1 << 20, top = -(1 << 20);
};

Box InkBox(const GlyphSet& font, const std::string& text, float x, float y) {
    Box box;
    float pen = float(int(x));
    for (char c : text) {
        const GlyphBitmap& g = font.glyphs[size_t(c - 32)];
        if (g.rows > 0) {
            box.left = std::min(box.left, int(pen - g.xorig));
            box.right = std::max(box.right, int(pen - g.xorig) + g.width);
            box.bottom = std::min(box.bottom, int(y) - int(g.yorig));
            box.top = std::max(box.top, int(y) - int(g.yorig) + g.rows);
        }
        pen += g.advance;
    }
    return box;
}

bool InsideTriangle(const HudLayout& layout, const HudTriangle& t, float px, float py) {
    const HudVertex& a = layout.vertices[size_t(t.i0)];
    const HudVertex& b = layout.vertices[size_t(t.i1)];
    const HudVertex& c = layout.vertices[size_t(t.i2)];
    auto side = [px, py](const HudVertex& u, const HudVertex& v) {
        return (v.x - u.x) * (py - u.y) - (v.y - u.y) * (px - u.x);
    };
    const float s0 = side(a, b), s1 = side(b, c), s2 = side(c, a);
    return (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
}

// Whether every corner of the box lies on one of the layout's panels.
bool OnAPanel(const HudLayout& layout, const Box& box) {
    for (float px : {float(box.left), float(box.right)})
        for (float py : {float(box.bottom), float(box.top)}) {
            bool covered = false;
            for (const HudTriangle& t : layout.triangles)
                covered = covered || InsideTriangle(layout, t, px, py);
            if (!covered)
                return false;
        }
    return true;
}

class HudScriptTest : public ::testing::Test {
protected:
    std::string LogText() const { return ReadText("log.txt"); }
    GameTreeSandbox sandbox;
};

}  // namespace

TEST_F(HudScriptTest, ReadsShapesAndAllSixInstrumentsInPixels) {
    const std::string script = "VERTEX 0.1 0.2\nVERTEX 0.5 1.0 trailing words are ignored\nVERTEX 1 0\n"
                               "TRIANGLE 0 1 2 0.1 0.2 0.3 0.4\nLINE 2 0 1 0.5 0.25 1\n" +
                               Block("SPEEDOMETER_TEXT") + Block("SPEEDOMETER_GRAPHICAL") + Block("TIMER") +
                               Block("DAMAGEINDICATOR_TEXT") + Block("DAMAGEINDICATOR_GRAPHICAL") +
                               Block("ATTITUDEINDICATOR", "SIZE 0.2\nPOSITION 0.25 0.5\n");
    // A script saved with Windows line ends reads the same.
    std::string crlf;
    for (char c : script)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const HudLayout windows = Parse(crlf);
    for (int code = 0; code < NUM_HUD_INSTRUMENTS; ++code)
        EXPECT_TRUE(windows.instruments[code]) << code;
    const HudLayout layout = Parse(script);
    ASSERT_EQ(layout.vertices.size(), 3u);
    EXPECT_FLOAT_EQ(layout.vertices[0].y, 120.0f);
    ASSERT_EQ(layout.triangles.size(), 1u);
    EXPECT_FLOAT_EQ(layout.triangles[0].alpha, 0.4f);
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_FLOAT_EQ(layout.lines[0].blue, 0.25f);
    for (int code = 0; code < NUM_HUD_INSTRUMENTS; ++code) {
        ASSERT_TRUE(layout.instruments[code]) << code;
        EXPECT_EQ(layout.instruments[code]->type, code);
    }
    EXPECT_FLOAT_EQ(layout.instruments[HUD_TIMER]->y, 150.0f);
    EXPECT_FLOAT_EQ(layout.instruments[HUD_TIMER]->size, 80.0f);  // a size is a fraction of the width
    EXPECT_FLOAT_EQ(layout.instruments[HUD_ATTITUDE]->x, 200.0f);  // in either order
    EXPECT_EQ(LogText(), "");
    // A second block of a type replaces the first.
    const HudLayout twice =
        Parse(Block("TIMER", "POSITION 0.1 0.1\n") + Block("TIMER", "POSITION 0.2 0.3\nSIZE 0.5\n"));
    ASSERT_TRUE(twice.instruments[HUD_TIMER]);
    EXPECT_FLOAT_EQ(twice.instruments[HUD_TIMER]->x, 160.0f);
    EXPECT_FLOAT_EQ(twice.instruments[HUD_TIMER]->y, 180.0f);
    EXPECT_FLOAT_EQ(twice.instruments[HUD_TIMER]->size, 400.0f);
}

TEST_F(HudScriptTest, KeywordsBeginTheLineExactlyInCapitalsAndBlankLinesAreBad) {
    const HudLayout layout =
        Parse(" VERTEX 0 0\nvertex 0 0\nVERTEX 1\nTRIANGLE 0 1 2 1 1 1\nLINE 0 1 1 1 1\nBEGININSTRUMENT \n"
              "VERTEX 0.5 0.5\n");
    EXPECT_EQ(layout.vertices.size(), 1u);
    EXPECT_TRUE(layout.triangles.empty());
    EXPECT_TRUE(layout.lines.empty());
    const std::string log = LogText();
    EXPECT_EQ(CountOf(log, "Illegal hud file command "), 6) << log;
    EXPECT_NE(log.find("Illegal hud file command  VERTEX 0 0\n\n"), std::string::npos);  // the line end is kept
    EXPECT_NE(log.find("Illegal hud file command BEGININSTRUMENT \n"), std::string::npos);
    // Blank lines are bad lines in both modes.
    EXPECT_TRUE(Parse("\nBEGININSTRUMENT\nTYPE TIMER\n\nENDINSTRUMENT\n").instruments[HUD_TIMER]);
    EXPECT_NE(LogText().find("Illegal hud file command \n"), std::string::npos);
    EXPECT_NE(LogText().find("Illegal hud instrument attribute \n in line 4"), std::string::npos);
}

TEST_F(HudScriptTest, ShapesInsideABlockAndBlockLinesOutsideAreUnrecognised) {
    const HudLayout layout = Parse("TYPE TIMER\nPOSITION 0 0\nENDINSTRUMENT\n" +
                                   Block("TIMER", "VERTEX 0.5 0.5\nLINE 0 0 1 1 1 1\nBEGININSTRUMENT\n"));
    EXPECT_TRUE(layout.vertices.empty());
    EXPECT_TRUE(layout.lines.empty());
    EXPECT_TRUE(layout.instruments[HUD_TIMER]);
    const std::string log = LogText();
    EXPECT_EQ(CountOf(log, "Illegal hud file command "), 3) << log;
    EXPECT_NE(log.find("Illegal hud instrument attribute VERTEX 0.5 0.5\n in line 6"), std::string::npos) << log;
    EXPECT_NE(log.find("Illegal hud instrument attribute BEGININSTRUMENT\n in line 8"), std::string::npos) << log;
}

TEST_F(HudScriptTest, BlocksWithoutALegalTypeOrEndInstallNothing) {
    const HudLayout layout = Parse(Block("COMPASS") + "BEGININSTRUMENT\nPOSITION 0.1 0.1\nENDINSTRUMENT\n" +
                                   "BEGININSTRUMENT\nSIZE 0.3\nTYPE TIMER\nENDINSTRUMENT\n" + Block("timer"));
    for (int code = 0; code < NUM_HUD_INSTRUMENTS; ++code)
        EXPECT_EQ(bool(layout.instruments[code]), code == HUD_TIMER) << code;
    // Attributes before the TYPE line have nothing to apply to.
    ASSERT_TRUE(layout.instruments[HUD_TIMER]);
    EXPECT_FLOAT_EQ(layout.instruments[HUD_TIMER]->size, 0.0f);
    const std::string log = LogText();
    EXPECT_NE(log.find("Illegal hud instrument type COMPASS\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Illegal hud instrument type timer\n"), std::string::npos) << log;
    EXPECT_EQ(CountOf(log, "without a legal TYPE"), 3) << log;
    // An end without a line end, or none at all, at the file's end installs nothing.
    EXPECT_FALSE(Parse("BEGININSTRUMENT\nTYPE TIMER\nPOSITION 0.1 0.1\nENDINSTRUMENT").instruments[HUD_TIMER]);
    EXPECT_NE(LogText().find("Illegal hud instrument attribute ENDINSTRUMENT in line 4"), std::string::npos);
    EXPECT_FALSE(Parse("BEGININSTRUMENT\nTYPE TIMER\n").instruments[HUD_TIMER]);
}

TEST_F(HudScriptTest, LongLinesAreReadIn254CharacterPiecesEachCounted) {
    const std::string longLine = "POSITION 0.1 0.1 " + std::string(300, 'x') + "\n";
    const HudLayout layout = Parse("BEGININSTRUMENT\nTYPE TIMER\n" + longLine + "FOO\nENDINSTRUMENT\n");
    EXPECT_TRUE(layout.instruments[HUD_TIMER]);
    EXPECT_FLOAT_EQ(layout.instruments[HUD_TIMER]->x, 80.0f);
    const std::string log = LogText();
    // The rest of the long line is line 4, so FOO is line 5.
    EXPECT_NE(log.find(" in line 4"), std::string::npos) << log;
    EXPECT_NE(log.find("Illegal hud instrument attribute FOO\n in line 5"), std::string::npos) << log;
    const std::string word(400, 'W');
    Parse("BEGININSTRUMENT\nTYPE " + word + "\n");
    EXPECT_NE(ReadText("log.txt").find("Illegal hud instrument type " + std::string(249, 'W') + "\n"),
              std::string::npos);
}


// Every text of every vehicle's HUD, at its longest, lies on the screen and on the HUD's panels (the ghost's
// gap on the timer's plate) and clear of every other text, at each window size a player is likely to pick.
TEST_F(HudScriptTest, EveryTextFitsOnItsPanelAtEveryWindowSize) {
    ASSERT_TRUE(RegisterPrivateFontFile("/usr/share/fonts/opentype/ferrite-core/FerriteCoreDX-Regular.otf",
                                        L"Beware"));
    const wchar_t* const faces[NUM_HUD_FONTS] = {L"Beware", L"Arial", L"Arial"};
    const int sizes[][2] = {{800, 600}, {1024, 768}, {1280, 800}};
    for (const auto& size : sizes) {
        GlyphSet fonts[NUM_HUD_FONTS];
        float heights[NUM_HUD_FONTS];
        for (int f = 0; f < NUM_HUD_FONTS; ++f) {
            heights[f] = float(HudFontHeight(f, size[0]));
            fonts[f] = RenderFaceGlyphs(faces[f], HudFontHeight(f, size[0]), 400, 32, 96);
        }
        for (int vehicle = 0; vehicle < kNumVehicles; ++vehicle) {
            SCOPED_TRACE(testing::Message() << "hud" << vehicle + 1 << " at " << size[0] << "x" << size[1]);
            const HudLayout layout = Parse(HudScriptText(vehicle), float(size[0]), float(size[1]));
            HudTextSpot spots[NUM_HUD_TEXTS];
            PlaceHudTexts(layout, heights, spots);
            std::vector<std::pair<std::string, Box>> boxes;
            for (int i = 0; i < NUM_HUD_TEXTS; ++i)
                if (spots[i].shown)
                    boxes.push_back({kLongestHudTexts[i], InkBox(fonts[spots[i].font], kLongestHudTexts[i],
                                                                 spots[i].x, spots[i].y)});
            ASSERT_TRUE(layout.instruments[HUD_SPEEDOMETER_GRAPHICAL]);
            for (const HudLabel& label : DialLabels(*layout.instruments[HUD_SPEEDOMETER_GRAPHICAL],
                                                    heights[HUD_FONT_SMALL]))
                boxes.push_back({label.text, InkBox(fonts[HUD_FONT_SMALL], label.text, label.x, label.y)});
            for (size_t i = 0; i < boxes.size(); ++i) {
                const std::string& text = boxes[i].first;
                const Box& b = boxes[i].second;
                EXPECT_TRUE(b.left >= 0 && b.right <= size[0] && b.bottom >= 0 && b.top <= size[1])
                    << text << " runs off the screen";
                EXPECT_TRUE(OnAPanel(layout, b)) << text << " leaves its panel";
                for (size_t j = 0; j < i; ++j) {
                    const Box& o = boxes[j].second;
                    EXPECT_FALSE(b.left < o.right && o.left < b.right && b.bottom < o.top && o.bottom < b.top)
                        << text << " overlaps " << boxes[j].first;
                }
            }
        }
    }
    UnregisterPrivateFontFiles();
}
