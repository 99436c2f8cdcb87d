#include "race/overlays.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/gamedefs.h"
#include "app/states.h"
#include "data/profile.h"
#include "data/rewards.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "hud/bitmapfont.h"
#include "hud/draw2d.h"
#include "hud/hudtimer.h"
#include "menus/menu.h"
#include "race/gamerenderer.h"
#include "race/raceflow.h"
#include "race/replay.h"
#include "race/sequence.h"
#include "race/trophy.h"
#include "scene/glstate.h"
#include "scene/rendermodel.h"

namespace {

const float kTimeColor[4] = {0.7f, 0.7f, 1.0f, 1.0f};
const float kBestColor[4] = {0.3f, 0.3f, 0.7f, 1.0f};
const float kMedalColors[4][4] = {
    {1.0f, 1.0f, 1.0f, 1.0f},
    {0.8f, 0.518f, 0.325f, 1.0f},   // bronze
    {0.75f, 0.75f, 0.75f, 1.0f},    // silver
    {0.857f, 0.796f, 0.27f, 1.0f},  // gold
};
const float kCashColor[4] = {0.3f, 0.3f, 0.7f, 1.0f};
const float kRepairColor[4] = {0.7f, 0.3f, 0.3f, 1.0f};
const float kTotalColor[4] = {0.5f, 0.5f, 0.85f, 1.0f};
const float kEntryColor[4] = {0.3f, 0.3f, 0.7f, 1.0f};
const float kHighlightColor[4] = {0.7f, 0.7f, 1.0f, 1.0f};
const float kHintColor[4] = {0.7f, 0.7f, 1.0f, 1.0f};
const char* const kReplayKeys[] = {"Space: pause   Left/Right: seek 5 s   Up/Down: speed",
                                   "C: camera   Mouse: turn the orbit camera   Esc: back",
                                   "Pad: A pause, d-pad seek and speed, Y camera, B back"};
// A sector's difference to the best run's is shown within +-this.
constexpr float kLongestSectorDifference = 99.99f;
const float kAheadColor[4] = {0.3f, 0.85f, 0.3f, 1.0f};
const float kBehindColor[4] = {0.85f, 0.3f, 0.3f, 1.0f};
const char* const kMedalWords[4] = {"", "You've won BRONZE", "You've won SILVER", "You've won GOLD"};

std::string TimeText(const char* label, float seconds) {
    char buffer[32];
    FormatRaceTime(seconds, buffer);
    return std::string(label) + buffer;
}

OverlayText Line(std::string text, int x, int y, const float color[4]) {
    return {OVERLAY_FONT_SMALL_COURIER, std::move(text), x, y, {color[0], color[1], color[2], color[3]}};
}

// "S<n> <seconds> <difference to the best run's>", coloured by the difference; an untimed sector "S<n> --".
// Short, to fit beside the cup lines under the trophy.
OverlayText SectorLine(int sector, float seconds, float best, int x, int y) {
    char text[64];
    if (seconds > 0.0f)
        snprintf(text, sizeof text, "S%d %.2f", sector + 1, double(seconds));
    else
        snprintf(text, sizeof text, "S%d --", sector + 1);
    if (seconds <= 0.0f || best <= 0.0f)
        return Line(text, x, y, kTimeColor);
    const float difference = std::clamp(seconds - best, -kLongestSectorDifference, kLongestSectorDifference);
    snprintf(text + strlen(text), sizeof text - strlen(text), " %+.2f", double(difference));
    return Line(text, x, y, difference < 0.0f ? kAheadColor : kBehindColor);
}

void Box(float x0, float y0, float x1, float y1) {
    FillRect(x0, y0, x1, y1, {0.0f, 0.0f, 0.0f, 0.6f});
}

void DrawCountdown(CGameRenderer& r, int w, int h) {
    const float x0 = (w - 70) * 0.5f - 105.0f;
    const float yMid = (h + 100) * 0.5f;
    Box(x0, yMid + 80.0f, x0 + 320.0f, yMid - 45.0f);
    r.fontCountdown->Print(gCountdownText, static_cast<int>((w - 70) * 0.5f), static_cast<int>(yMid));
}

void DrawPause(CGameRenderer& r, int w, int h) {
    const float x0 = (w - 640) * 0.5f;
    const float y0 = (h + 480) * 0.5f;
    Box(x0, y0, x0 + 640.0f, y0 - 480.0f);
    r.fontPaused->Print("Paused", static_cast<int>(x0 + 210), static_cast<int>(y0 - 64));
    for (size_t i = 0; i < gPauseMenuEntries.size(); ++i) {
        r.fontMenu->SetColor(gPauseMenuEntries[i].highlighted ? kHighlightColor : kEntryColor);
        r.fontMenu->Print(gPauseMenuEntries[i].label, static_cast<int>(x0 + 200),
                          static_cast<int>(y0 - 130 - 40 * static_cast<float>(i)));
    }
    r.fontMenu->SetColor(kEntryColor);
}

void DrawCaptions(CGameRenderer& r, int w, int h) {
    r.fontTiny->Print("Press [ESC] to skip", w / 2 - 40, 16);
    for (const CaptionSlot& slot : gCaptions) {
        if (!slot.active || !slot.font || !slot.text) continue;
        const float keep = slot.font->alpha;
        // A faint copy a few pixels down-left makes the caption readable over bright scenery.
        slot.font->alpha = slot.alpha * 0.4f;
        slot.font->Print(slot.text, static_cast<int>(w * slot.x - 4), static_cast<int>(h * slot.y - 4));
        slot.font->alpha = slot.alpha;
        slot.font->Print(slot.text, static_cast<int>(w * slot.x), static_cast<int>(h * slot.y));
        slot.font->alpha = keep;
    }
}

ResultsView CurrentResults() {
    ResultsView v;
    v.raceSeconds = RaceSeconds();
    v.bestSeconds = (gSelectedTrack >= 0 && gSelectedTrack < kNumTracks) ? gProfile.bestTimes[gSelectedTrack] : 0.0f;
    v.goldTime = gTrackSettings.goldTime;
    v.silverTime = gTrackSettings.silverTime;
    v.bronzeTime = gTrackSettings.bronzeTime;
    v.medal = gRaceMedal;
    v.cashWon = gCashWon;
    v.repairCost = gRepairCost;
    v.total = gRaceTotal;
    v.sectors = gSectorResults;
    return v;
}

void DrawResults(CGameRenderer& r, int w, int h) {
    Box(0.05f * w, 0.95f * h, 0.95f * w, 0.01f * h);  // down to the keys under the cup lines
    for (const OverlayText& t : ResultsPanelTexts(w, h, CurrentResults())) {
        if (t.font == OVERLAY_FONT_TITLE) {
            r.fontTitle->Print(t.text.c_str(), t.x, t.y);
        } else if (t.font == OVERLAY_FONT_HINT) {
            r.fontHint->Print(t.text.c_str(), t.x, t.y);
        } else {
            r.fontSmallCourier->SetColor(t.color);
            r.fontSmallCourier->Print(t.text.c_str(), t.x, t.y);
        }
    }
    r.fontSmallCourier->SetColor(kMedalColors[0]);
}

// The replay's clock, speed and camera over the keys, in a box at the foot of the screen.
void DrawReplayHud(CGameRenderer& r, int w, int h) {
    const int lh = h * 22 / 480;
    const int lines = 2 + int(sizeof kReplayKeys / sizeof kReplayKeys[0]);
    Box(0.02f * w, float(lh * lines + lh / 2), 0.75f * w, float(lh / 4));
    char clock[32], length[32], status[160];
    FormatRaceTime(gReplay.clock, clock);
    FormatRaceTime(gReplay.Length(), length);
    snprintf(status, sizeof status, "Replay %s / %s   x%g%s", clock, length,
             double(kReplaySpeeds[gReplay.speed]), gReplay.paused ? "   Paused" : "");
    const int x = int(0.02f * w) + lh / 2;
    int y = lh * (lines - 1) + lh / 2;
    r.fontHint->Print(status, x, y);
    r.fontHint->Print(kReplayCameraNames[gReplay.camera], x, y -= lh);
    for (const char* keys : kReplayKeys)
        r.fontHint->Print(keys, x, y -= lh);
}

void SetupSunLight() {
    const float* a = gTrackSettings.ambientColor;
    const float* s = gTrackSettings.sun.position;
    // A light from afar: attenuation does not apply.
    SetLightZero({{a[0], a[1], a[2], 1.0f},
                  {0.2f, 0.2f, 0.2f, 1.0f},
                  {0.8f, 0.8f, 0.8f, 1.0f},
                  {0.5f, 0.5f, 0.5f, 1.0f},
                  {2000.0f * s[0], 2000.0f * s[1], 2000.0f * s[2], 0.0f},
                  0.0f});
}

void DrawResultsTrophy(CGameRenderer& r) {
    if (gRaceMedal < MEDAL_BRONZE || !r.trophy) return;
    const bool borrowSun = !gTrackSettings.hasSun;
    if (borrowSun) SetupSunLight();
    r.trophy->SetTrophyMedal(gRaceMedal);
    const double eye[3] = {0.0, 2.2, -3.4}, at[3] = {-1.5, 0.4, 0.0};
    BeginLookAt(eye, at, gTrophyAngle);
    BeginModelPass();
    glClear(GL_DEPTH_BUFFER_BIT);
    r.trophy->DrawModel();
    EndModelPass();
    EndLookAt();
    // A run restarted from here is drawn from the race's own view and lights, as the first was.
    if (borrowSun) SetUpRaceLighting();
}

}  // namespace

const char* const kResultsKeysLine = "Enter: continue   R: race again   W: watch the run";

std::vector<OverlayText> ResultsPanelTexts(int w, int h, const ResultsView& v) {
    const int lh = h * 28 / 480;
    const float top = 0.95f * h;
    const int x1 = static_cast<int>(0.05f * w + 25);
    const int x2 = static_cast<int>(0.42f * w);
    auto row = [&](int n) { return static_cast<int>(top - n * lh); };
    std::vector<OverlayText> texts;
    texts.push_back({OVERLAY_FONT_TITLE, "Race Completed!", static_cast<int>(0.32f * w),
                     static_cast<int>(top - h * 36 / 480), {0.3f, 0.3f, 0.7f, 1.0f}});
    texts.push_back(Line(TimeText("Your time: ", v.raceSeconds), x1, row(3), kTimeColor));
    texts.push_back(Line(TimeText("Personal Best:", v.bestSeconds), x1, row(4), kBestColor));
    texts.push_back(Line(TimeText("Gold:   ", v.goldTime), x2, row(6), kMedalColors[MEDAL_GOLD]));
    texts.push_back(Line(TimeText("Silver: ", v.silverTime), x2, row(7), kMedalColors[MEDAL_SILVER]));
    texts.push_back(Line(TimeText("Bronze: ", v.bronzeTime), x2, row(8), kMedalColors[MEDAL_BRONZE]));
    const float theoretical = v.sectors.theoretical;
    texts.push_back(Line(theoretical > 0.0f ? TimeText("Theoretical best:", theoretical) : "Theoretical best:--",
                         x1, row(5), kBestColor));
    for (int s = 0; s < kNumSectors; ++s)
        texts.push_back(SectorLine(s, v.sectors.run[s], v.sectors.best[s], x1, row(12 + s)));
    if (v.medal >= MEDAL_BRONZE && v.medal <= MEDAL_GOLD) {
        texts.push_back(Line("Cash won   : " + FormatPrize(v.cashWon), x2, row(10), kCashColor));
        texts.push_back(Line("Repair cost: " + FormatCash(v.repairCost), x2, row(11), kRepairColor));
        texts.push_back(Line("Total      : " + FormatCash(v.total), x2, row(12), kTotalColor));
        texts.push_back(Line(kMedalWords[v.medal], x2, row(14), kMedalColors[v.medal]));
        texts.push_back(Line("in this event", x2, row(15), kMedalColors[v.medal]));
    }
    texts.push_back({OVERLAY_FONT_HINT, kResultsKeysLine, x1, static_cast<int>(0.025f * h),
                     {kHintColor[0], kHintColor[1], kHintColor[2], kHintColor[3]}});
    return texts;
}

void DrawOverlay(CGameRenderer& renderer) {
    const int w = gSettings.screenWidth;
    const int h = gSettings.screenHeight;
    const int state = gRequestedState;
    if (state != STATE_COUNTDOWN && state != STATE_INGAME_MENU && state != STATE_RACE_COMPLETED &&
        state != STATE_GAME_INTRO && state != STATE_GAME_OUTRO && state != STATE_REPLAY)
        return;
    BeginFlat(FLAT_SHAPES);
    if (state == STATE_COUNTDOWN) {
        DrawCountdown(renderer, w, h);
    } else if (state == STATE_INGAME_MENU) {
        DrawPause(renderer, w, h);
    } else if (state == STATE_RACE_COMPLETED) {
        DrawResults(renderer, w, h);
    } else if (state == STATE_REPLAY) {
        DrawReplayHud(renderer, w, h);
    } else {
        DrawCaptions(renderer, w, h);
    }
    EndFlat();
    if (state == STATE_RACE_COMPLETED) DrawResultsTrophy(renderer);
}
