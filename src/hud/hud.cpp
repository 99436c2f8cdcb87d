#include "hud/hud.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/gamedefs.h"
#include "data/settings.h"
#include "hud/bitmapfont.h"
#include "hud/draw2d.h"
#include "hud/hudtexts.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "scene/glstate.h"
#include "scene/transformation.h"

namespace {

const Rgba kInstrumentBlue = {0.7f, 0.7f, 1.0f, 1.0f};
const Rgba kDialGreen = {0.3f, 0.7f, 0.3f, 1.0f};
const Rgba kWarningRed = {1.0f, 0.0f, 0.0f, 1.0f};
const Rgba kWhite = {1.0f, 1.0f, 1.0f, 1.0f};
const Rgba kAheadGreen = {0.2f, 1.0f, 0.2f, 1.0f};
const Rgba kBehindRed = {1.0f, 0.25f, 0.2f, 1.0f};
const Rgba kSky = {0.5f, 0.5f, 0.9f, 1.0f};
const Rgba kGround = {0.5f, 0.5f, 0.5f, 1.0f};
const Rgba kBlack = {0.0f, 0.0f, 0.0f, 1.0f};
const Rgba kBezelGrey = {0.3f, 0.3f, 0.3f, 1.0f};
const Rgba kDamageLow = {0.0f, 1.0f, 0.0f, 1.0f};

// A signed time against the ghost: green with a minus (ahead), red otherwise.
const Rgba& SignColour(const char* text) {
    return strchr(text, '-') ? kAheadGreen : kBehindRed;
}

HudVertex OnCircle(float cx, float cy, float radius, float angle) {
    return {cx + radius * std::cos(angle), cy + radius * std::sin(angle)};
}

bool ValidIndex(const std::vector<HudVertex>& vertices, int i) {
    return i >= 0 && size_t(i) < vertices.size();
}

}  // namespace

char gHudGapText[16] = "";
char gHudSplitText[24] = "";
char gHudSpeedText[kHudTextSize];
char gHudDamageText[kHudTextSize];
char gHudMessageText[kHudTextSize];

CHud::CHud(CCamera* camera)
    : camera(camera),
      bigHeight(uint32_t(HudFontHeight(HUD_FONT_BIG, gSettings.screenWidth))),
      smallHeight(uint32_t(HudFontHeight(HUD_FONT_SMALL, gSettings.screenWidth))),
      mediumHeight(uint32_t(HudFontHeight(HUD_FONT_MEDIUM, gSettings.screenWidth))) {
    bigFont.reset(new CBitmapFont(L"Beware", int16_t(bigHeight), 400));
    smallFont.reset(new CBitmapFont(L"Arial", int16_t(smallHeight), 400));
    mediumFont.reset(new CBitmapFont(L"Arial", int16_t(mediumHeight), 400));
}

CHud::~CHud() = default;

void CHud::LoadScript(const char* path) {
    timer.Reset();
    layout = HudLayout();
    horizon = Horizon();
    dial = Dial();
    FILE* file = OpenGameFile(path, "r");
    if (!file)
        return;
    ReadHudScript(file, float(gSettings.screenWidth), float(gSettings.screenHeight), layout);
    fclose(file);
    if (const HudInstrument* speedometer = layout.instruments[HUD_SPEEDOMETER_GRAPHICAL].get())
        BuildDial(*speedometer);
    if (const HudInstrument* attitude = layout.instruments[HUD_ATTITUDE].get())
        BuildBezel(*attitude);
}

void CHud::BuildDial(const HudInstrument& in) {
    const float s = in.size;
    const float cx = in.x + s / 2;
    const float cy = in.y;
    const float r = 0.41f * s;
    for (float a : ArcAngles(kPi, 0.0f, 12))
        dial.arc.push_back(OnCircle(cx, cy, r, a));
    for (float a : ArcAngles(kPi, 0.0f, 10)) {
        dial.ticks.push_back(OnCircle(cx, cy, r, a));
        dial.ticks.push_back(OnCircle(cx, cy, 0.75f * r, a));
    }
    dial.labels = DialLabels(in, float(smallHeight));
}

void CHud::BuildBezel(const HudInstrument& in) {
    const float s = in.size;
    Horizon& h = horizon;
    h.cx = in.x + s / 2;
    h.cy = in.y + s / 2;
    const float r = 0.4f * s;
    const HudVertex corners[4] = {{in.x, in.y + s}, {in.x + s, in.y + s}, {in.x + s, in.y}, {in.x, in.y}};  // TL, TR, BR, BL
    h.symbol[0] = {h.cx - 0.8f * r, h.cy};
    h.symbol[1] = {h.cx - 0.2f * r, h.cy};
    h.symbol[2] = {h.cx + 0.2f * r, h.cy};
    h.symbol[3] = {h.cx + 0.8f * r, h.cy};
    // Each corner covers the quarter of the circle facing it: TR 90..0, TL 180..90, BL 270..180, BR 360..270.
    struct Fan {
        int corner;
        float from;
    };
    const Fan fans[] = {{1, kPi / 2}, {0, kPi}, {3, 3 * kPi / 2}, {2, 2 * kPi}};
    for (int f = 0; f < 4; ++f) {
        h.fans[f].push_back(corners[fans[f].corner]);
        for (float a : ArcAngles(fans[f].from, fans[f].from - kPi / 2, 6))
            h.fans[f].push_back(OnCircle(h.cx, h.cy, r, a));
    }
    // The gaps between neighbouring fans, at the top, right, bottom and left of the circle.
    for (int i = 0; i < 4; ++i) {
        const float a = kPi / 2 - float(i) * kPi / 2;
        h.gaps[3 * i] = corners[i];
        h.gaps[3 * i + 1] = OnCircle(h.cx, h.cy, r, a);
        h.gaps[3 * i + 2] = corners[(i + 1) % 4];
    }
}

void CHud::ResetTimer() {
    timer.Reset();
    gRaceClock = 0;
}

void CHud::StartTimer(bool resume) {
    timer.Start(resume, timeGetTime());
}

void CHud::StopTimer() {
    timer.Stop();
}

void CHud::TickTimer() {
    timer.Tick(timeGetTime());
}

void CHud::Draw() {
    TickTimer();
    DrawShapes();
    // The instruments and texts draw unblended, their alpha ignored.
    BeginFlat(FLAT_SOLID);
    DrawLines();
    const float heights[NUM_HUD_FONTS] = {float(bigHeight), float(mediumHeight), float(smallHeight)};
    HudTextSpot spots[NUM_HUD_TEXTS];
    PlaceHudTexts(layout, heights, spots);
    const auto& slots = layout.instruments;
    if (slots[HUD_ATTITUDE])
        DrawAttitude(*slots[HUD_ATTITUDE]);
    PrintTexts(spots, HUD_TEXT_SPEED, HUD_TEXT_SPEED_UNIT);
    if (slots[HUD_SPEEDOMETER_GRAPHICAL])
        DrawDial(*slots[HUD_SPEEDOMETER_GRAPHICAL]);
    PrintTexts(spots, HUD_TEXT_TIMER, HUD_TEXT_SPLIT);
    PrintTexts(spots, HUD_TEXT_DAMAGE_LABEL, HUD_TEXT_DAMAGE);
    if (slots[HUD_DAMAGE_GRAPHICAL])
        DrawDamageBar(*slots[HUD_DAMAGE_GRAPHICAL]);
    PrintTexts(spots, HUD_TEXT_BAR_LABEL, HUD_TEXT_MESSAGE);
    EndFlat();
}

void CHud::PrintTexts(const HudTextSpot* spots, int first, int last) const {
    // The read-outs as the race writes them; the labels as they are in the table of longest texts.
    struct Shown {
        const char* live;
        const Rgba& colour;
    };
    const Shown shown[NUM_HUD_TEXTS] = {{timer.text, kInstrumentBlue},
                                        {gHudGapText, SignColour(gHudGapText)},
                                        {gHudSplitText, SignColour(gHudSplitText)},
                                        {gHudSpeedText, kInstrumentBlue},
                                        {nullptr, kInstrumentBlue},
                                        {nullptr, kInstrumentBlue},
                                        {gHudDamageText, kInstrumentBlue},
                                        {nullptr, kInstrumentBlue},
                                        {gHudMessageText, kWarningRed},
                                        {gHudMessageText, kWarningRed}};
    CBitmapFont* const fonts[NUM_HUD_FONTS] = {bigFont.get(), mediumFont.get(), smallFont.get()};
    for (int i = first; i <= last; ++i) {
        if (!spots[i].shown)
            continue;
        CBitmapFont* font = fonts[spots[i].font];
        const Rgba& c = shown[i].colour;
        font->SetColor(c.r, c.g, c.b, c.a);
        font->Print(shown[i].live ? shown[i].live : kLongestHudTexts[i], int(spots[i].x), int(spots[i].y));
    }
}

void CHud::DrawShapes() const {
    const std::vector<HudVertex>& v = layout.vertices;
    BeginFlat(FLAT_SHAPES);
    for (const HudTriangle& t : layout.triangles) {
        // A shape naming a vertex the script does not have is left out.
        if (!ValidIndex(v, t.i0) || !ValidIndex(v, t.i1) || !ValidIndex(v, t.i2))
            continue;
        const HudVertex corners[3] = {v[size_t(t.i0)], v[size_t(t.i1)], v[size_t(t.i2)]};
        DrawShape(SHAPE_TRIANGLES, corners, 3, Rgba{t.red, t.green, t.blue, t.alpha});
    }
    EndFlat();
}

void CHud::DrawLines() const {
    const std::vector<HudVertex>& v = layout.vertices;
    for (const HudLine& l : layout.lines)
        if (ValidIndex(v, l.i0) && ValidIndex(v, l.i1))
            DrawLine(v[size_t(l.i0)], v[size_t(l.i1)], Rgba{l.red, l.green, l.blue, l.alpha});
}

void CHud::DrawAttitude(const HudInstrument& in) const {
    const float s = in.size;
    const Horizon& h = horizon;
    const int clip[4] = {int(in.x), int(in.y), int(s), int(s)};
    BeginTurn(h.cx, h.cy + HorizonOffset(camera ? camera->pitch : 0.0f, s), camera ? camera->roll : 0.0f, clip);
    const HudVertex sky[3] = {{-s, 0}, {s, 0}, {0, s}};
    const HudVertex ground[3] = {{-s, 0}, {0, -s}, {s, 0}};
    DrawShape(SHAPE_TRIANGLES, sky, 3, kSky);
    DrawShape(SHAPE_TRIANGLES, ground, 3, kGround);
    DrawLine({-s, 0}, {s, 0}, kBlack);
    EndTurn();

    DrawShape(SHAPE_LINES, h.symbol, 4, kInstrumentBlue, 2.0f);
    for (const std::vector<HudVertex>& fan : h.fans)
        DrawShape(SHAPE_FAN, fan.data(), fan.size(), kBezelGrey);
    DrawShape(SHAPE_TRIANGLES, h.gaps, 12, kBezelGrey);
}

void CHud::DrawDial(const HudInstrument& in) const {
    const float s = in.size;
    const float cx = in.x + s / 2;
    const float cy = in.y;
    DrawShape(SHAPE_LOOP, dial.arc.data(), dial.arc.size(), kDialGreen);
    DrawShape(SHAPE_LINES, dial.ticks.data(), dial.ticks.size(), kDialGreen);
    smallFont->SetColor(kDialGreen.r, kDialGreen.g, kDialGreen.b, kDialGreen.a);
    for (const HudLabel& label : dial.labels)
        smallFont->Print(label.text.c_str(), int(label.x), int(label.y));
    DrawLine({cx, cy}, OnCircle(cx, cy, 0.39f * s, NeedleAngle(ReadoutValue(gHudSpeedText))), kWhite);
}

void CHud::DrawDamageBar(const HudInstrument& in) const {
    const float s = in.size;
    // Kept inside its frame even if a read-out ever goes past 0 .. 100.
    const float f = std::max(0.0f, std::min(float(ReadoutValue(gHudDamageText)) / 100.0f, 1.0f));
    const float left = in.x + 0.3f * s;
    const float right = in.x + 0.7f * s;
    const float bottom = in.y + 0.13f * s;
    const float top = in.y + (0.13f + 0.87f * f) * s;
    const HudVertex bar[4] = {{left, bottom}, {right, bottom}, {right, top}, {left, top}};
    const Rgba high = {f, 1.0f - f, 0.0f, 1.0f};
    const Rgba shades[4] = {kDamageLow, kDamageLow, high, high};
    DrawShadedShape(SHAPE_QUADS, bar, shades, 4);
    FrameRect(left, bottom, right, in.y + s, kInstrumentBlue);
}
