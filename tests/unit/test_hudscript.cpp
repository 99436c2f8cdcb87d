#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "hud/hudscript.h"
#include "hud/hudtexts.h"
#include "hud/hudtimer.h"
#include "hudscripts.h"
#include "platform/fontface.h"
#include "testutil.h"

namespace {

// Parses text as a HUD script in an 800x600 window; log.txt of the sandbox collects the messages.
HudLayout Parse(const std::string& text, float width = 800.0f, float height = 600.0f) {
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

// Whether every corner of the box lies on one of the layout's panels.
bool OnAPanel(const HudLayout& layout, const Box& box) {
    auto covered = [&layout](float px, float py) {
        for (const HudTriangle& t : layout.triangles) {
            const HudVertex* v[3] = {&layout.vertices[size_t(t.i0)], &layout.vertices[size_t(t.i1)],
                                     &layout.vertices[size_t(t.i2)]};
            float s[3];
            for (int k = 0; k < 3; ++k) {
                const HudVertex &u = *v[k], &w = *v[(k + 1) % 3];
                s[k] = (w.x - u.x) * (py - u.y) - (w.y - u.y) * (px - u.x);
            }
            if ((s[0] >= 0 && s[1] >= 0 && s[2] >= 0) || (s[0] <= 0 && s[1] <= 0 && s[2] <= 0))
                return true;
        }
        return false;
    };
    return covered(box.left, box.bottom) && covered(box.left, box.top) && covered(box.right, box.bottom) &&
           covered(box.right, box.top);
}

class HudScriptTest : public ::testing::Test {
protected:
    GameTreeSandbox sandbox;
};

}  // namespace

TEST_F(HudScriptTest, ReadsShapesAndAllSixInstrumentsInPixelsAndLogsAndSkipsBadLines) {
    const std::string script = "VERTEX 0.1 0.2\nVERTEX 0.5 1.0 trailing words are ignored\nVERTEX 1 0\n"
                               "TRIANGLE 0 1 2 0.1 0.2 0.3 0.4\nLINE 2 0 1 0.5 0.25 1\n" +
                               Block("SPEEDOMETER_TEXT") + Block("SPEEDOMETER_GRAPHICAL") + Block("TIMER") +
                               Block("DAMAGEINDICATOR_TEXT") + Block("DAMAGEINDICATOR_GRAPHICAL") +
                               Block("ATTITUDEINDICATOR", "SIZE 0.2\nPOSITION 0.25 0.5\n") +
                               Block("TIMER", "POSITION 0.2 0.3\nSIZE 0.5\n");  // replaces the first
    const HudLayout layout = Parse(script);
    ASSERT_EQ(layout.vertices.size(), 3u);
    EXPECT_FLOAT_EQ(layout.vertices[0].y, 120.0f);
    ASSERT_EQ(layout.triangles.size(), 1u);
    EXPECT_FLOAT_EQ(layout.triangles[0].alpha, 0.4f);
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_FLOAT_EQ(layout.lines[0].blue, 0.25f);
    for (int code = 0; code < NUM_HUD_INSTRUMENTS; ++code)
        ASSERT_TRUE(layout.instruments[code]) << code;  // each in its own slot: fuzz_hud's
    const HudInstrument& timer = *layout.instruments[HUD_TIMER];
    EXPECT_EQ(std::vector<float>({timer.x, timer.y, timer.size}), std::vector<float>({160, 180, 400}));  // size: width
    EXPECT_FLOAT_EQ(layout.instruments[HUD_ATTITUDE]->x, 200.0f);  // in either order
    EXPECT_EQ(LogText(), "");

    // Bad lines are logged, with their line number inside a block, and skipped; an instrument is installed only
    // by a block with a legal TYPE and an ENDINSTRUMENT line, and takes attributes only after its TYPE.
    struct Case {
        const char* name;
        std::string script;
        size_t shapes;  // vertices, triangles and lines read
        float timerX;   // -1: no timer installed
        int badLines;   // messages logged
        std::vector<std::string> logged;
    };
    const Case cases[] = {
        {"keywords begin the line exactly in capitals",
         " VERTEX 0 0\nvertex 0 0\nVERTEX 1\nTRIANGLE 0 1 2 1 1 1\nLINE 0 1 1 1 1\nBEGININSTRUMENT \nVERTEX 0.5 0.5\n",
         1, -1.0f, 6, {"Illegal hud file command  VERTEX 0 0\n\n", "Illegal hud file command BEGININSTRUMENT \n"}},
        {"blank lines are bad in both modes", "\nBEGININSTRUMENT\nTYPE TIMER\n\nENDINSTRUMENT\n", 0, 0.0f, 2,
         {"Illegal hud file command \n", "Illegal hud instrument attribute \n in line 4"}},
        {"shapes inside a block, block lines outside",
         "TYPE TIMER\nPOSITION 0 0\nENDINSTRUMENT\n" +
             Block("TIMER", "VERTEX 0.5 0.5\nLINE 0 0 1 1 1 1\nBEGININSTRUMENT\n"),
         0, 0.0f, 6,
         {"Illegal hud instrument attribute VERTEX 0.5 0.5\n in line 6",
          "Illegal hud instrument attribute BEGININSTRUMENT\n in line 8"}},
        {"no legal type, or attributes before it",
         Block("COMPASS") + "BEGININSTRUMENT\nPOSITION 0.1 0.1\nENDINSTRUMENT\n" +
             "BEGININSTRUMENT\nPOSITION 0.3 0.3\nTYPE TIMER\nENDINSTRUMENT\n" + Block("timer"),
         0, 0.0f, 5, {"Illegal hud instrument type COMPASS\n", "Illegal hud instrument type timer\n"}},
        {"an end without a line end", "BEGININSTRUMENT\nTYPE TIMER\nPOSITION 0.1 0.1\nENDINSTRUMENT", 0, -1.0f, 1,
         {"Illegal hud instrument attribute ENDINSTRUMENT in line 4"}},
        {"no end", "BEGININSTRUMENT\nTYPE TIMER\n", 0, -1.0f, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearLog();
        const HudLayout bad = Parse(c.script);
        EXPECT_EQ(bad.vertices.size() + bad.triangles.size() + bad.lines.size(), c.shapes);
        for (int code = 0; code < NUM_HUD_INSTRUMENTS; ++code)
            EXPECT_EQ(bool(bad.instruments[code]), code == HUD_TIMER && c.timerX >= 0.0f) << code;
        EXPECT_FLOAT_EQ(bad.instruments[HUD_TIMER] ? bad.instruments[HUD_TIMER]->x : -1.0f, c.timerX);
        const std::string log = LogText();
        EXPECT_EQ(CountOf(log, "Illegal hud") + CountOf(log, "without a legal TYPE"), c.badLines) << log;
        for (const std::string& part : c.logged)
            EXPECT_TRUE(Logged(part));
    }
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

// One timer through two races: ticks show minutes, seconds and hundredths; a stop keeps the last draw's value
// (the results have already read it) and nothing moves until a resume, which goes on from there; a new race
// starts from zero, also across a wrap of the millisecond counter; the largest count still fits the text.
TEST(HudTimer, KeepsTheRaceTimeThroughStopsResumesAndCounterWraps) {
    const struct {
        char op;  // n: new race, r: resume, s: stop, t: tick
        uint32_t now, clock;
        const char* text;
    } steps[] = {{'n', 1000, 0, "00:00.00"},           {'t', 1000, 0, "00:00.00"},
                 {'t', 66432, 65432, "01:05.43"},      {'s', 0, 65432, "01:05.43"},
                 {'t', 999999, 65432, "01:05.43"},     {'r', 200000, 65432, "01:05.43"},
                 {'t', 6135567, 6000999, "100:00.99"}, {'n', 0xFFFFFF00u, 0, "100:00.99"},
                 {'t', 0x100u, 0x200u, "00:00.51"}};
    HudTimer t;
    for (const auto& step : steps) {
        if (step.op == 't')
            t.Tick(step.now);
        else if (step.op == 's')
            t.Stop();
        else
            t.Start(step.op == 'r', step.now);
        EXPECT_EQ(gRaceClock, step.clock) << step.op << " at " << step.now;
        EXPECT_STREQ(t.text, step.text) << step.op << " at " << step.now;
    }
    t.accumulated = 0xFFFFFFFFu - 0x200u;
    t.Tick(0x100u);
    EXPECT_STREQ(t.text, "71582:47.29");
}
