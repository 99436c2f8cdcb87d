#include <GL/freeglut.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "data/profile.h"
#include "data/rewards.h"
#include "data/settings.h"
#include "hud/bitmapfont.h"
#include "hud/draw2d.h"
#include "menus/menupages.h"
#include "menus/profilemenus.h"
#include "race/vehicle.h"
#include "scene/glstate.h"
#include "scene/rendermodel.h"
#include "scene/texturemanager.h"

namespace {

void PrintNumber(const CBitmapFont& font, const char* format, int value, int x, int y) {
    char text[32];
    snprintf(text, sizeof(text), format, value);
    font.Print(text, x, y);
}

}  // namespace

const Rgba kCareerShade = {0.0f, 0.0f, 0.0f, 0.5f};

void BeginCareerScreen(uint32_t background, int nameX, int nameLength) {
    ClearFrame();
    BeginFlat(FLAT_PICTURE);
    DrawWindowPicture(background);
    EndFlat();
    BeginFlat(FLAT_SHAPES);
    const float h = float(gSettings.screenHeight);
    const float x = float(nameX), right = float(nameX + 26 * nameLength);
    const Point2 plate[4] = {{x - 20.0f, h - 50.0f}, {right + 20.0f, h - 50.0f}, {right + 100.0f, h}, {x - 100.0f, h}};
    DrawShape(SHAPE_QUADS, plate, 4, kCareerShade);
}

void DrawVehicleFigures(CBitmapFont& font, const VehicleDefinition& v, int x, int top, int firstRow) {
    const int l = ScaledToWindow(12);
    char power[32], speed[32], weight[32];
    snprintf(power, sizeof(power), "%d HP", v.horsePower);
    snprintf(speed, sizeof(speed), "%d Km/h", v.topSpeed);
    snprintf(weight, sizeof(weight), "%d Kg", v.weight);
    const char* const labels[5] = {"NAME", "ENGINE(S)", "POWER", "TOP SPEED", "WEIGHT"};
    const char* const values[5] = {v.name, v.engine, power, speed, weight};
    for (int k = firstRow; k < 5; k++) {
        const int y = top - 4 * k - 2 * k * l;
        font.SetColor(0.3f, 0.3f, 0.7f);
        font.Print(labels[k], x, y);
        font.SetColor(0.5f, 0.5f, 0.85f);
        font.Print(values[k], x + 10, y - l);
    }
}

void DrawVehiclePreview(int v, int x, int y, int w, int h, const float eye[3], const float at[3]) {
    if (v < 0 || v >= kNumVehicles || !gVehicles[v].renderObject)
        return;
    const double from[3] = {eye[0], eye[1], eye[2]}, to[3] = {at[0], at[1], at[2]};
    BeginPreview(x, y, w, h);
    BeginLookAt(from, to, gPreviewAngle);
    BeginModelPass();
    gVehicles[v].renderObject->Draw(DRAW_ALL);
    EndModelPass();
    EndLookAt();
    EndPreview();
}

CProfileMenuRenderer::CProfileMenuRenderer(TextureManager* textures) : CRenderer(textures) {}

CProfileMenuRenderer::~CProfileMenuRenderer() = default;

void CProfileMenuRenderer::init() {
    background = textures->Load("../Textures/doompanel.jpg", true);
    nameFont = MakeFont(L"Courier New", 50, 700, 0.3f, 0.3f, 0.7f);
    careerFont = MakeFont(L"Arial", ScaledToWindow(18), 700, 0.3f, 0.3f, 0.7f);
    statisticsFont = std::make_unique<CBitmapFont>(L"Arial", int16_t(ScaledToWindow(12)), 700);
    itemFont = std::make_unique<CBitmapFont>(L"Arial", int16_t(ScaledToWindow(22)), 700);
}

void CProfileMenuRenderer::enter() {
    nameLength = int(strlen(gProfile.name));
    nameX = (gSettings.screenWidth - 26 * nameLength) / 2;
    nameY = gSettings.screenHeight - 35;
    SetMenuLighting();
}

void CProfileMenuRenderer::DrawCareer() const {
    const float w = float(gSettings.screenWidth), h = float(gSettings.screenHeight);
    const int line = ScaledToWindow(18);
    const int y0 = int(0.825f * h - 30.0f);
    const int labelX = int(0.1f * w + 10.0f), valueX = int(0.36f * w);
    const CBitmapFont& font = *careerFont;
    auto label = [&](const char* text, int row) { font.Print(text, labelX, y0 - row * line); };
    careerFont->SetColor(0.3f, 0.3f, 0.7f);
    label("Career completion:", 0);
    label("Cash:", 1);
    careerFont->SetColor(0.5f, 0.5f, 0.85f);
    PrintNumber(font, "%d%%", int(gProfile.percentComplete + 0.5f), valueX, y0);
    font.Print(FormatCash(gProfile.cash).c_str(), valueX, y0 - line);
    const struct {
        const char* text;
        int count;
        float r, g, b;
    } cups[3] = {{"Gold cups won:", gProfile.goldCups, 0.857f, 0.796f, 0.27f},
                 {"Silver cups won:", gProfile.silverCups, 0.75f, 0.75f, 0.75f},
                 {"Bronze cups won:", gProfile.bronzeCups, 0.8f, 0.518f, 0.325f}};
    for (int i = 0; i < 3; i++) {
        careerFont->SetColor(cups[i].r, cups[i].g, cups[i].b);
        label(cups[i].text, 2 + i);
        PrintNumber(font, "%d", cups[i].count, valueX, y0 - (2 + i) * line);
    }
}

void CProfileMenuRenderer::DrawVehicleStatistics() const {
    const float w = float(gSettings.screenWidth), h = float(gSettings.screenHeight);
    if (gSelectedVehicle < 0 || gSelectedVehicle >= kNumVehicles)
        return;
    const VehicleDefinition& v = gVehicles[gSelectedVehicle];
    const int xs = int(0.5f * w + 10.0f), y1 = int(0.5f * h - 30.0f);
    careerFont->SetColor(0.3f, 0.3f, 0.7f);
    careerFont->Print("Vehicle statistics", xs, y1);
    DrawVehicleFigures(*statisticsFont, v, xs, y1 - ScaledToWindow(18), 0);
}

void CProfileMenuRenderer::draw() {
    const float w = float(gSettings.screenWidth), h = float(gSettings.screenHeight);
    BeginCareerScreen(background, nameX, nameLength);
    FillRect(0.1f * w, 0.575f * h, 0.6f * w, 0.825f * h, kCareerShade);
    FillRect(0.1f * w, 0.1f * h, 0.5f * w, 0.5f * h, kCareerShade);
    FillRect(0.5f * w, 0.1f * h, 0.9f * w, 0.5f * h, kCareerShade);
    FillRect(0.65f * w, 0.53f * h, 0.97f * w, 0.88f * h, kCareerShade);
    nameFont->Print(gProfile.name, nameX, nameY);
    DrawCareer();
    DrawVehicleStatistics();
    const int itemStep = ScaledToWindow(22);
    for (int k = 0; k < kNumProfileItems; k++) {
        const MenuOption& item = gProfileMenuItems[size_t(k)];
        if (item.highlighted)
            itemFont->SetColor(0.7f, 0.7f, 1.0f);
        else if (item.unavailable)
            itemFont->SetColor(0.4f, 0.4f, 0.4f);
        else
            itemFont->SetColor(0.3f, 0.3f, 0.7f);
        itemFont->Print(item.label, int(0.65f * w + 10.0f), int(0.88f * h - 50.0f - float(k * itemStep)));
    }
    EndFlat();
    const float eye[3] = {0.0f, 4.0f, -9.0f}, at[3] = {-3.0f, 2.0f, 0.0f};
    DrawVehiclePreview(gSelectedVehicle, 10 + int(0.1f * w), 10 + int(0.1f * h), int(0.4f * w) - 20,
                       int(0.4f * h) - 20, eye, at);
    glutSwapBuffers();
}
