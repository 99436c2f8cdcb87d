#include <GL/freeglut.h>

#include <cstdio>
#include <cstring>

#include "data/profile.h"
#include "data/rewards.h"
#include "data/settings.h"
#include "hud/bitmapfont.h"
#include "hud/draw2d.h"
#include "menus/menupages.h"
#include "menus/profilemenus.h"
#include "menus/trackselect.h"
#include "race/raceflow.h"
#include "race/trophy.h"
#include "race/vehicle.h"
#include "scene/glstate.h"
#include "scene/texturemanager.h"

namespace {

const float kCupColors[3][3] = {{0.857f, 0.796f, 0.27f}, {0.75f, 0.75f, 0.75f}, {0.8f, 0.518f, 0.325f}};
const char* const kMedalTexts[4] = {"", "You've won BRONZE", "You've won SILVER", "You've won GOLD"};

const float* MedalColor(int medal) {
    return kCupColors[3 - medal];
}

}  // namespace

CTrackSelectMenuRenderer::CTrackSelectMenuRenderer(TextureManager* textures, CTrophyDisplay* trophy)
    : CRenderer(textures), trophy(trophy) {}

CTrackSelectMenuRenderer::~CTrackSelectMenuRenderer() = default;

void CTrackSelectMenuRenderer::init() {
    background = textures->Load("../Textures/doompanel.jpg", true);
    nameFont = MakeFont(L"Courier New", 50, 700, 0.3f, 0.3f, 0.7f);
    titleFont = MakeFont(L"Courier New", ScaledToWindow(22), 700, 0.5f, 0.5f, 0.85f);
    infoFont = std::make_unique<CBitmapFont>(L"Courier New", int16_t(ScaledToWindow(18)), 700);
    noteFont = MakeFont(L"Arial", ScaledToWindow(12), 700, 0.4f, 0.4f, 0.75f);
    hintFont = MakeFont(L"Arial", ScaledToWindow(24), 700, 0.5f, 0.5f, 0.5f);
}

void CTrackSelectMenuRenderer::enter() {
    const int w = gSettings.screenWidth, h = gSettings.screenHeight;
    const int line = ScaledToWindow(18);
    nameLength = int(strlen(gProfile.name));
    nameX = (w - 26 * nameLength) / 2;
    nameY = h - 35;
    const bool known = gSelectedVehicle >= 0 && gSelectedVehicle < kNumVehicles;
    vehicleNameLength = known ? int(strlen(gVehicles[gSelectedVehicle].name)) : 0;
    vehicleNameX = (w - (1 + line / 2) * vehicleNameLength) / 2;
    vehicleNameY = 1 + line / 2;
    for (TrackCard& card : gTrackCards) {
        char path[64];
        snprintf(path, sizeof(path), "../Textures/track%d.jpg", card.pictureNumber);
        card.picture = textures->Load(path, true);
    }
    lock = textures->Load("../Textures/lockandchain.bmp", true);
}

void CTrackSelectMenuRenderer::leave() {
    for (TrackCard& card : gTrackCards) {
        if (card.picture)
            textures->Unload(card.picture);
        card.picture = 0;
    }
}

void CTrackSelectMenuRenderer::DrawCard() const {
    const float w = float(gSettings.screenWidth), h = float(gSettings.screenHeight);
    const float shift = gTrackSlide.offset * w;
    const int line = ScaledToWindow(18);
    const TrackCard& card = gTrackCards[gSelectedTrack];
    const int cardX = int(0.5f * w + shift);
    const int titleLine = ScaledToWindow(22);
    titleFont->Print(card.title.c_str(), int((w - float((1 + titleLine / 2) * int(card.title.size()))) / 2.0f + shift),
                     int(0.89f * h - float(titleLine)));
    if (gTrackVehicleAllowed) {
        char best[16];
        FormatRaceTime(gProfile.bestTimes[gSelectedTrack], best);
        infoFont->SetColor(0.3f, 0.3f, 0.7f);
        infoFont->Print((std::string("Personal Best:") + best).c_str(), cardX, int(0.79f * h - float(line)));
        for (int i = 0; i < 3; i++) {
            infoFont->SetColor(kCupColors[i][0], kCupColors[i][1], kCupColors[i][2]);
            const std::string& text = gTrackBlink ? card.cashLines[i] : card.timeLines[i];
            infoFont->Print(text.c_str(), cardX, int(0.79f * h - float((2 + i) * line)));
        }
        infoFont->SetColor(0.3f, 0.3f, 0.7f);
        const std::string ghost = GhostLine(card, gProfile.bestTimes[gSelectedTrack], gTrackBestRun);
        infoFont->Print(ghost.c_str(), cardX, int(0.79f * h - float(5 * line)));
    } else {
        noteFont->Print("To enter this race you must use the following vehicle:", cardX, int(0.79f * h - 10.0f * float(line)));
        const int required = card.requiredVehicle;
        infoFont->SetColor(0.3f, 0.3f, 0.7f);
        if (required >= 0 && required < kNumVehicles)
            infoFont->Print(gVehicles[required].name, cardX, int(0.79f * h - 11.0f * float(line)));
    }
}

void CTrackSelectMenuRenderer::draw() {
    const float w = float(gSettings.screenWidth), h = float(gSettings.screenHeight);
    const float shift = gTrackSlide.offset * w;
    const int line = ScaledToWindow(18);
    const TrackCard& card = gTrackCards[gSelectedTrack];
    const int medal = gTrackSlide.offset == 0.0f ? MedalOfTime(gProfile.bestTimes[gSelectedTrack], card.goldTime, card.silverTime, card.bronzeTime) : 0;
    BeginCareerScreen(background, nameX, nameLength);
    FillRect(0.05f * w + shift, 0.3f * h, 0.95f * w + shift, 0.9f * h, kCareerShade);
    FillRect(0.0f, 0.0f, w, 0.05f * h, kCareerShade);
    nameFont->Print(gProfile.name, nameX, nameY);
    DrawCard();
    hintFont->Print(gTrackVehicleAllowed ? "Press [ENTER] to Enter Race, [ESC] to return"
                                         : "Can't enter this race. Press [ESC] to return",
                    int(0.17f * w), int(0.2f * h));
    infoFont->SetColor(0.3f, 0.3f, 0.7f);
    if (vehicleNameLength > 0)
        infoFont->Print(gVehicles[gSelectedVehicle].name, vehicleNameX, vehicleNameY);
    if (medal) {
        const float* c = MedalColor(medal);
        infoFont->SetColor(c[0], c[1], c[2]);
        infoFont->Print(kMedalTexts[medal], int(0.65f * w), int(0.79f * h - 6.0f * float(line)));
        infoFont->Print("in this event", int(0.65f * w), int(0.79f * h - 7.0f * float(line)));
    }
    EndFlat();
    DrawSlideArrows(gTrackSlide);
    BeginFlat(FLAT_PICTURE);
    DrawPicture(card.picture, 0.07f * w + shift, 0.4f * h, 0.47f * w + shift, 0.8f * h, -1.0f, 0.0f);
    EndFlat();
    if (!gTrackVehicleAllowed) {
        BeginFlat(FLAT_CUTOUT);
        DrawPicture(lock, 0.05f * w + shift, 0.3f * h, 0.95f * w + shift, 0.9f * h, 0.0f, 1.0f);
        EndFlat();
    }
    if (gTrackVehicleAllowed && medal && trophy) {
        trophy->SetTrophyMedal(medal);
        trophy->DrawTrophy();
    }
    glutSwapBuffers();
}
