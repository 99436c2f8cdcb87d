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

// The race HUD: shapes and instruments laid out by a script, drawn in a FLAT_SHAPES pass (scene/glstate.h).
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
        float cx = 0, cy = 0, r = 0;
        HudVertex corners[4] = {};  // TL, TR, BR, BL
        HudVertex symbol[4] = {};
    };

    void ReleaseLists();
    void BuildDialList(const HudInstrument& dial);
    void BuildBezelList(const HudInstrument& attitude);
    void DrawShapes() const;
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
    uint32_t bezelList = 0;
    uint32_t dialList = 0;
    HudTimer timer;
    HudLayout layout;
    Horizon horizon;
};
