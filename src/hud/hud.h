#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "hud/hudgauges.h"
#include "hud/hudscript.h"
#include "hud/hudtexts.h"
#include "hud/hudtimer.h"

class CBitmapFont;
class CCamera;

// The gap to the ghost in seconds with a sign ("+1.25": behind, "-0.40": ahead), shown under the timer;
// empty without a ghost. Written by the ghost every frame of a race.
extern char gHudGapText[16];
// "S<n> " (the sector) and the split at that sector's end gate against the ghost, signed as the gap; shown under the
// gap for a few seconds after the gate, empty otherwise. Written by the race's splits.
extern char gHudSplitText[24];

// Written by the flight model, drawn by the HUD.
constexpr int kHudTextSize = 32;
extern char gHudSpeedText[kHudTextSize];
extern char gHudDamageText[kHudTextSize];
extern char gHudMessageText[kHudTextSize];

// The race HUD: shapes and instruments laid out by a script, drawn over the scene in its own flat passes.
class CHud {
public:
    explicit CHud(CCamera* camera);
    ~CHud();
    CHud(const CHud&) = delete;
    CHud& operator=(const CHud&) = delete;

    // Replaces the layout by the script's (an unreadable file leaves the HUD empty) and resets the timer.
    void LoadScript(const char* path);
    void Draw();
    // Brings the race clock up to now without drawing, for what is drawn before the HUD in a frame.
    void TickTimer();
    void ResetTimer();  // stopped at 0, the race clock too
    void StartTimer(bool resume);
    void StopTimer();

private:
    // The attitude indicator's fixed points, computed at load.
    struct Horizon {
        float cx = 0, cy = 0;
        HudVertex symbol[4] = {};
        std::vector<HudVertex> fans[4];  // the bezel's corners, each with the quarter circle facing it
        HudVertex gaps[12] = {};          // triangles filling the gaps between neighbouring fans
    };
    // The speedometer's scale, computed at load.
    struct Dial {
        std::vector<HudVertex> arc;
        std::vector<HudVertex> ticks;  // pairs of ends
        std::vector<HudLabel> labels;
    };

    void BuildDial(const HudInstrument& dial);
    void BuildBezel(const HudInstrument& attitude);
    void DrawShapes() const;
    void DrawLines() const;
    // The texts first .. last (HUD_TEXT_*) at their spots, each in its colour.
    void PrintTexts(const HudTextSpot* spots, int first, int last) const;
    void DrawAttitude(const HudInstrument& in) const;
    void DrawDial(const HudInstrument& in) const;
    void DrawDamageBar(const HudInstrument& in) const;

    std::unique_ptr<CBitmapFont> bigFont;
    std::unique_ptr<CBitmapFont> smallFont;
    std::unique_ptr<CBitmapFont> mediumFont;
    CCamera* camera;  // not owned
    uint32_t bigHeight, smallHeight, mediumHeight;
    HudTimer timer;
    HudLayout layout;
    Horizon horizon;
    Dial dial;
};
