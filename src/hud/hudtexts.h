#pragma once

#include <string>
#include <vector>

#include "hud/hudscript.h"

// The flight model's messages, shown beside both damage instruments.
extern const char* const kEngineDamageMessage;    // "ENGINE DAMAGE"
extern const char* const kTerminalDamageMessage;  // "TERMINAL DAMAGE"

// The gap to the ghost, in seconds, is shown within +-this.
constexpr float kLongestHudGap = 999.99f;

enum { HUD_FONT_BIG, HUD_FONT_MEDIUM, HUD_FONT_SMALL, NUM_HUD_FONTS };

// The cell height of a HUD font in a window this wide: the big font 2 % of the width, the medium 1.6 %, the
// small 1.2 %.
int HudFontHeight(int font, int screenWidth);

// The texts the HUD draws beside its instruments.
enum {
    HUD_TEXT_TIMER,
    HUD_TEXT_GAP,    // the gap to the ghost, under the timer
    HUD_TEXT_SPLIT,  // the split at the last gate, under the gap
    HUD_TEXT_SPEED,
    HUD_TEXT_SPEED_UNIT,
    HUD_TEXT_DAMAGE_LABEL,
    HUD_TEXT_DAMAGE,
    HUD_TEXT_BAR_LABEL,
    HUD_TEXT_BAR_MESSAGE,  // beside the damage bar
    HUD_TEXT_MESSAGE,      // under the damage read-out, drawn last
    NUM_HUD_TEXTS
};

// Where a text starts: the left end of its baseline, in pixels.
struct HudTextSpot {
    bool shown = false;  // false when the layout lacks the text's instrument
    int font = HUD_FONT_BIG;
    float x = 0.0f;
    float y = 0.0f;
};

// The spots of every text in a layout whose fonts have these cell heights (by HUD_FONT_*).
void PlaceHudTexts(const HudLayout& layout, const float heights[NUM_HUD_FONTS], HudTextSpot spots[NUM_HUD_TEXTS]);

// The fixed texts as they are and the live ones at their longest: a timer under 100 minutes, a gap
// at its longest, a speed and a damage of three digits, the longer of the two messages.
extern const char* const kLongestHudTexts[NUM_HUD_TEXTS];

// The speedometer's labels "0", "20" .. "200" along its arc, in the small font.
struct HudLabel {
    std::string text;
    float x = 0.0f;
    float y = 0.0f;
};
std::vector<HudLabel> DialLabels(const HudInstrument& dial, float smallHeight);
