#include <GL/freeglut.h>

#include <cstdio>
#include <cstring>
#include <sstream>

#include "data/profile.h"
#include "data/settings.h"
#include "hud/bitmapfont.h"
#include "hud/draw2d.h"
#include "menus/menupages.h"
#include "menus/profilemenus.h"
#include "menus/vehicleselect.h"
#include "race/vehicle.h"
#include "scene/glstate.h"
#include "scene/texturemanager.h"

namespace {

bool PurchaseScreen() {
    return gRequestedState == STATE_VEHICLE_PURCHASE;
}

}  // namespace

CVehicleSelectMenuRenderer::CVehicleSelectMenuRenderer(TextureManager* textures) : CRenderer(textures) {}

CVehicleSelectMenuRenderer::~CVehicleSelectMenuRenderer() = default;

void CVehicleSelectMenuRenderer::init() {
    background = textures->Load("../Textures/doompanel.jpg", true);
    nameFont = MakeFont(L"Courier New", 50, 700, 0.3f, 0.3f, 0.7f);
    titleFont = MakeFont(L"Courier New", ScaledToWindow(22), 700, 0.5f, 0.5f, 0.85f);
    infoFont = MakeFont(L"Courier New", ScaledToWindow(18), 700, 0.3f, 0.3f, 0.7f);
    hintFont = MakeFont(L"Arial", ScaledToWindow(22), 700, 0.5f, 0.5f, 0.5f);
    statisticsFont = std::make_unique<CBitmapFont>(L"Arial", int16_t(ScaledToWindow(12)), 700);
    dialogFont = MakeFont(L"Arial", 32, 700, 0.3f, 0.3f, 0.7f);
    buttonFont = std::make_unique<CBitmapFont>(L"Arial", 40, 700);
}

void CVehicleSelectMenuRenderer::enter() {
    nameLength = int(strlen(gProfile.name));
    nameX = (gSettings.screenWidth - 26 * nameLength) / 2;
    nameY = gSettings.screenHeight - 35;
    hintX = int((PurchaseScreen() ? 0.155f : 0.18f) * float(gSettings.screenWidth));
}

void CVehicleSelectMenuRenderer::DrawStatistics(bool purchase) const {
    const float w = float(gSettings.screenWidth), h = float(gSettings.screenHeight);
    const float offset = gVehicleSlide.offset;
    const int xs = int((offset + 0.5f) * w + 10.0f), y2 = int(0.83f * h - 30.0f);
    const int l = ScaledToWindow(12);
    const VehicleDefinition& v = gVehicles[gShownVehicle];
    infoFont->SetColor(0.3f, 0.3f, 0.7f);
    infoFont->Print("Vehicle statistics", xs, y2);
    DrawVehicleFigures(*statisticsFont, v, xs, y2 + 4, 1);
    const int statusY = y2 - 12 - 11 * l;
    if (!purchase) {
        infoFont->SetColor(0.0f, 1.0f, 0.0f);
        if (gShownVehicle == gSelectedVehicle)
            infoFont->Print("[SELECTED]", int(0.1f * w + float(xs)), statusY);
    } else if (gProfile.ownedVehicles[gShownVehicle]) {
        infoFont->SetColor(0.0f, 1.0f, 0.0f);
        infoFont->Print("[YOU OWN THIS VEHICLE]", xs, statusY);
    } else {
        const bool affordable = JudgePurchase(gProfile, gShownVehicle, v.price) == PURCHASE_AFFORDABLE;
        infoFont->SetColor(affordable ? 0.0f : 1.0f, affordable ? 1.0f : 0.0f, 0.0f);
        char price[32];
        snprintf(price, sizeof(price), "Price: $%d", v.price);
        infoFont->Print(price, xs, statusY);
    }
    // The description, line by line, in the colour the figures left.
    std::istringstream description(v.description);
    std::string line;
    int y = int(0.4f * h);
    while (std::getline(description, line)) {
        statisticsFont->Print(line.c_str(), int((offset + 0.12f) * w), y);
        y -= l + 2;
    }
}

void CVehicleSelectMenuRenderer::DrawDialog(const MenuDialog& dialog) const {
    const float w = float(gSettings.screenWidth), h = float(gSettings.screenHeight);
    const float yc = (h + 160.0f) / 2.0f, x0 = (w - 640.0f) / 2.0f;
    BeginFlat(FLAT_SHAPES);
    FillRect(x0, yc - 160.0f, x0 + 640.0f, yc, {0.0f, 0.0f, 0.0f, 0.7f});
    dialogFont->Print(dialog.text, int(0.5f * w - 0.5f * 32.0f * float(dialog.textLength) * 0.44f), int(yc - 32.0f));
    for (size_t i = 0; i < dialog.buttons.size(); i++) {
        if (int(i) == dialog.chosen)
            buttonFont->SetColor(0.7f, 0.7f, 1.0f);
        else
            buttonFont->SetColor(0.3f, 0.3f, 0.7f);
        const int x = dialog.buttons.size() >= 2 ? int(x0 + 200.0f)
                                                 : int(0.5f * w - 10.0f * float(dialog.buttons[0].size()));
        buttonFont->Print(dialog.buttons[i].c_str(), x, int(yc - 100.0f - 40.0f * float(i)));
    }
    FrameRect(x0, yc - 160.0f, x0 + 640.0f, yc, {0.7f, 0.7f, 1.0f, 1.0f});
    EndFlat();
}

void CVehicleSelectMenuRenderer::draw() {
    const float w = float(gSettings.screenWidth), h = float(gSettings.screenHeight);
    const float offset = gVehicleSlide.offset;
    const bool purchase = PurchaseScreen();
    const int L = ScaledToWindow(18);
    BeginCareerScreen(background, nameX, nameLength);
    FillRect((offset + 0.1f) * w, 0.29f * h, (offset + 0.9f) * w, 0.89f * h, kCareerShade);
    nameFont->Print(gProfile.name, nameX, nameY);
    DrawStatistics(purchase);
    if (purchase) {
        char cash[32];
        snprintf(cash, sizeof(cash), "Cash: $%d", gProfile.cash);
        infoFont->SetColor(0.7f, 0.7f, 1.0f);
        infoFont->Print(cash, int(0.5f * w - 0.25f * float(L) * float(strlen(cash))), L);
    }
    hintFont->Print(purchase ? "Press [ENTER] to Purchase Vehicle, [ESC] to Return"
                             : "Press [ENTER] to Select Vehicle, [ESC] to Return",
                    hintX, int(0.19f * h));
    const char* name = gVehicles[gShownVehicle].name;
    const int n = int(strlen(name));
    titleFont->Print(name, int(offset * w + float((gSettings.screenWidth - (1 + ScaledToWindow(22) / 2) * n) / 2 - 10)),
                     int(0.84f * h));
    EndFlat();
    DrawSlideArrows(gVehicleSlide);
    const float eye[3] = {20.0f * offset, 4.0f, -9.0f}, at[3] = {20.0f * offset - 3.0f, -2.0f, 0.0f};
    DrawVehiclePreview(gShownVehicle, int((offset + 0.1f) * w) + 10, 10 + int(0.43f * h), int(0.4f * w) - 20,
                       int(0.4f * h) - 20, eye, at);
    if (gPurchaseDialog.open && purchase)
        DrawDialog(gPurchaseDialog);
    if (gRefusalDialog.open && purchase)
        DrawDialog(gRefusalDialog);
    glutSwapBuffers();
}
