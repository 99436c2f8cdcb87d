#include "hud/hud.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/gamedefs.h"
#include "data/settings.h"
#include "hud/bitmapfont.h"
#include "hud/hudtexts.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "scene/transformation.h"

namespace {

const float kInstrumentBlue[4] = {0.7f, 0.7f, 1.0f, 1.0f};
const float kDialGreen[4] = {0.3f, 0.7f, 0.3f, 1.0f};
const float kWarningRed[4] = {1.0f, 0.0f, 0.0f, 1.0f};
const float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const float kAheadGreen[4] = {0.2f, 1.0f, 0.2f, 1.0f};
const float kBehindRed[4] = {1.0f, 0.25f, 0.2f, 1.0f};

// A signed time against the ghost: green with a minus (ahead), red otherwise.
const float* SignColour(const char* text) {
    return strchr(text, '-') ? kAheadGreen : kBehindRed;
}

void Vertex(float cx, float cy, float radius, float angle) {
    glVertex2f(cx + radius * std::cos(angle), cy + radius * std::sin(angle));
}

void Vertex(const HudVertex& v) {
    glVertex2f(v.x, v.y);
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
    smallFont->SetColor(kDialGreen);
    mediumFont.reset(new CBitmapFont(L"Arial", int16_t(mediumHeight), 400));
    mediumFont->SetColor(kDialGreen);
}

CHud::~CHud() {
    ReleaseLists();
}

void CHud::ReleaseLists() {
    if (bezelList)
        glDeleteLists(bezelList, 1);
    if (dialList)
        glDeleteLists(dialList, 1);
    bezelList = dialList = 0;
}

void CHud::LoadScript(const char* path) {
    ReleaseLists();
    timer.Reset();
    layout = HudLayout();
    horizon = Horizon();
    FILE* file = OpenGameFile(path, "r");
    if (!file)
        return;
    ReadHudScript(file, float(gSettings.screenWidth), float(gSettings.screenHeight), layout);
    fclose(file);
    if (const HudInstrument* dial = layout.instruments[HUD_SPEEDOMETER_GRAPHICAL].get())
        BuildDialList(*dial);
    if (const HudInstrument* attitude = layout.instruments[HUD_ATTITUDE].get())
        BuildBezelList(*attitude);
}

void CHud::BuildDialList(const HudInstrument& in) {
    dialList = glGenLists(1);
    if (!dialList)
        return;
    const float s = in.size;
    const float cx = in.x + s / 2;
    const float cy = in.y;
    const float r = 0.41f * s;
    glNewList(dialList, GL_COMPILE);
    glBegin(GL_LINE_LOOP);
    for (float a : ArcAngles(kPi, 0.0f, 12))
        Vertex(cx, cy, r, a);
    glEnd();
    const std::vector<float> ticks = ArcAngles(kPi, 0.0f, 10);
    glBegin(GL_LINES);
    for (float a : ticks) {
        Vertex(cx, cy, r, a);
        Vertex(cx, cy, 0.75f * r, a);
    }
    glEnd();
    for (const HudLabel& label : DialLabels(in, float(smallHeight)))
        smallFont->Print(label.text.c_str(), int(label.x), int(label.y));
    glEndList();
}

void CHud::BuildBezelList(const HudInstrument& in) {
    const float s = in.size;
    Horizon& h = horizon;
    h.cx = in.x + s / 2;
    h.cy = in.y + s / 2;
    h.r = 0.4f * s;
    h.corners[0] = {in.x, in.y + s};
    h.corners[1] = {in.x + s, in.y + s};
    h.corners[2] = {in.x + s, in.y};
    h.corners[3] = {in.x, in.y};
    h.symbol[0] = {h.cx - 0.8f * h.r, h.cy};
    h.symbol[1] = {h.cx - 0.2f * h.r, h.cy};
    h.symbol[2] = {h.cx + 0.2f * h.r, h.cy};
    h.symbol[3] = {h.cx + 0.8f * h.r, h.cy};

    bezelList = glGenLists(1);
    if (!bezelList)
        return;
    // Each corner covers the quarter of the circle facing it: TR 90..0, TL 180..90, BL 270..180, BR 360..270.
    struct Fan {
        int corner;
        float from;
    };
    const Fan fans[] = {{1, kPi / 2}, {0, kPi}, {3, 3 * kPi / 2}, {2, 2 * kPi}};
    glNewList(bezelList, GL_COMPILE);
    for (const Fan& fan : fans) {
        glBegin(GL_TRIANGLE_FAN);
        Vertex(h.corners[fan.corner]);
        for (float a : ArcAngles(fan.from, fan.from - kPi / 2, 6))
            Vertex(h.cx, h.cy, h.r, a);
        glEnd();
    }
    // The gaps between neighbouring fans, at the top, right, bottom and left of the circle.
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 4; ++i) {
        const float a = kPi / 2 - float(i) * kPi / 2;
        Vertex(h.corners[i]);
        Vertex(h.cx, h.cy, h.r, a);
        Vertex(h.corners[(i + 1) % 4]);
    }
    glEnd();
    glEndList();
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
}

void CHud::PrintTexts(const HudTextSpot* spots, int first, int last) const {
    // The read-outs as the race writes them; the labels as they are in the table of longest texts.
    struct Shown {
        const char* live;
        const float* colour;
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
        font->SetColor(shown[i].colour);
        font->Print(shown[i].live ? shown[i].live : kLongestHudTexts[i], int(spots[i].x), int(spots[i].y));
    }
}

void CHud::DrawShapes() const {
    const std::vector<HudVertex>& v = layout.vertices;
    glBegin(GL_TRIANGLES);
    for (const HudTriangle& t : layout.triangles) {
        // A shape naming a vertex the script does not have is left out.
        if (!ValidIndex(v, t.i0) || !ValidIndex(v, t.i1) || !ValidIndex(v, t.i2))
            continue;
        glColor4f(t.red, t.green, t.blue, t.alpha);
        Vertex(v[size_t(t.i0)]);
        Vertex(v[size_t(t.i1)]);
        Vertex(v[size_t(t.i2)]);
    }
    glEnd();
    // The lines and instruments draw unblended, their alpha ignored; the flat pass's end restores blending.
    glDisable(GL_BLEND);
    glBegin(GL_LINES);
    for (const HudLine& l : layout.lines) {
        if (!ValidIndex(v, l.i0) || !ValidIndex(v, l.i1))
            continue;
        glColor4f(l.red, l.green, l.blue, l.alpha);
        Vertex(v[size_t(l.i0)]);
        Vertex(v[size_t(l.i1)]);
    }
    glEnd();
}

void CHud::DrawAttitude(const HudInstrument& in) const {
    const float s = in.size;
    const Horizon& h = horizon;
    glPushMatrix();
    glTranslatef(h.cx, h.cy + HorizonOffset(camera ? camera->pitch : 0.0f, s), 0.0f);
    glRotatef(camera ? camera->roll : 0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_SCISSOR_TEST);
    glScissor(int(in.x), int(in.y), int(s), int(s));
    glBegin(GL_TRIANGLES);
    glColor4f(0.5f, 0.5f, 0.9f, 1.0f);  // sky
    glVertex2f(-s, 0);
    glVertex2f(s, 0);
    glVertex2f(0, s);
    glColor4f(0.5f, 0.5f, 0.5f, 1.0f);  // ground
    glVertex2f(-s, 0);
    glVertex2f(0, -s);
    glVertex2f(s, 0);
    glEnd();
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_LINES);
    glVertex2f(-s, 0);
    glVertex2f(s, 0);
    glEnd();
    glPopMatrix();
    glDisable(GL_SCISSOR_TEST);

    glLineWidth(2.0f);
    glColor3f(0.7f, 0.7f, 1.0f);
    glBegin(GL_LINES);
    for (const HudVertex& p : h.symbol)
        Vertex(p);
    glEnd();
    glLineWidth(1.0f);
    glColor4f(0.3f, 0.3f, 0.3f, 1.0f);
    if (bezelList)
        glCallList(bezelList);
}

void CHud::DrawDial(const HudInstrument& in) const {
    const float s = in.size;
    const float cx = in.x + s / 2;
    const float cy = in.y;
    glColor4fv(kDialGreen);
    glLineWidth(1.0f);
    if (dialList)
        glCallList(dialList);
    glColor4fv(kWhite);
    const float a = NeedleAngle(ReadoutValue(gHudSpeedText));
    glBegin(GL_LINES);
    glVertex2f(cx, cy);
    Vertex(cx, cy, 0.39f * s, a);
    glEnd();
}

void CHud::DrawDamageBar(const HudInstrument& in) const {
    const float s = in.size;
    // Kept inside its frame even if a read-out ever goes past 0 .. 100.
    const float f = std::max(0.0f, std::min(float(ReadoutValue(gHudDamageText)) / 100.0f, 1.0f));
    const float left = in.x + 0.3f * s;
    const float right = in.x + 0.7f * s;
    const float bottom = in.y + 0.13f * s;
    const float top = in.y + (0.13f + 0.87f * f) * s;
    glShadeModel(GL_SMOOTH);
    glBegin(GL_QUADS);
    glColor4f(0.0f, 1.0f, 0.0f, 1.0f);
    glVertex2f(left, bottom);
    glVertex2f(right, bottom);
    glColor4f(f, 1.0f - f, 0.0f, 1.0f);
    glVertex2f(right, top);
    glVertex2f(left, top);
    glEnd();
    glColor4fv(kInstrumentBlue);
    glBegin(GL_LINE_LOOP);
    glVertex2f(left, bottom);
    glVertex2f(right, bottom);
    glVertex2f(right, in.y + s);
    glVertex2f(left, in.y + s);
    glEnd();
}
