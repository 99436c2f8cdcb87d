#include "hud/hudtexts.h"

#include <algorithm>
#include <cmath>

#include "app/gamedefs.h"
#include "hud/hudgauges.h"

const char* const kEngineDamageMessage = "ENGINE DAMAGE";
const char* const kTerminalDamageMessage = "TERMINAL DAMAGE";

const char* const kLongestHudTexts[NUM_HUD_TEXTS] = {
    "99:59.99", "+999.99", "S3 +999.99", "888", "KM/H", "DAMAGE:", "100", "Damage", kTerminalDamageMessage, kTerminalDamageMessage};

namespace {

const double kFontShareOfWidth[NUM_HUD_FONTS] = {0.02, 0.016, 0.012};

// Gap between a text and the one it hangs under, in pixels.
const float kLineGap = 3.0f;

HudTextSpot Spot(int font, float x, float y) {
    HudTextSpot s;
    s.shown = true;
    s.font = font;
    s.x = x;
    s.y = y;
    return s;
}

}  // namespace

int HudFontHeight(int font, int screenWidth) {
    return std::max(0, int(screenWidth * kFontShareOfWidth[font]));
}

void PlaceHudTexts(const HudLayout& layout, const float heights[NUM_HUD_FONTS], HudTextSpot spots[NUM_HUD_TEXTS]) {
    for (int i = 0; i < NUM_HUD_TEXTS; ++i)
        spots[i] = HudTextSpot();
    const float big = heights[HUD_FONT_BIG];
    const float medium = heights[HUD_FONT_MEDIUM];
    if (const HudInstrument* in = layout.instruments[HUD_TIMER].get()) {
        spots[HUD_TEXT_TIMER] = Spot(HUD_FONT_BIG, in->x, in->y);
        spots[HUD_TEXT_GAP] = Spot(HUD_FONT_BIG, in->x, in->y - big - kLineGap);
        spots[HUD_TEXT_SPLIT] = Spot(HUD_FONT_BIG, in->x, in->y - 2 * (big + kLineGap));
    }
    if (const HudInstrument* in = layout.instruments[HUD_SPEEDOMETER_TEXT].get()) {
        spots[HUD_TEXT_SPEED] = Spot(HUD_FONT_BIG, in->x, in->y);
        spots[HUD_TEXT_SPEED_UNIT] = Spot(HUD_FONT_BIG, in->x + 3 * big, in->y);
    }
    if (const HudInstrument* in = layout.instruments[HUD_DAMAGE_TEXT].get()) {
        spots[HUD_TEXT_DAMAGE_LABEL] = Spot(HUD_FONT_BIG, in->x, in->y);
        spots[HUD_TEXT_DAMAGE] = Spot(HUD_FONT_BIG, in->x + 7 * big, in->y);
        spots[HUD_TEXT_MESSAGE] = Spot(HUD_FONT_BIG, in->x, in->y - big - kLineGap);
    }
    if (const HudInstrument* in = layout.instruments[HUD_DAMAGE_GRAPHICAL].get()) {
        spots[HUD_TEXT_BAR_LABEL] = Spot(HUD_FONT_MEDIUM, in->x + 0.5f * in->size - 1.5f * medium, in->y);
        spots[HUD_TEXT_BAR_MESSAGE] = Spot(HUD_FONT_MEDIUM, in->x + 0.8f * in->size, in->y + 0.5f * in->size);
    }
}

std::vector<HudLabel> DialLabels(const HudInstrument& dial, float small) {
    const float s = dial.size;
    const float cx = dial.x + s / 2;
    const float cy = dial.y;
    const std::vector<float> ticks = ArcAngles(kPi, 0.0f, 10);
    std::vector<HudLabel> labels;
    for (size_t k = 0; k < ticks.size(); ++k) {
        const float a = ticks[k];
        HudLabel label;
        label.text = std::to_string(20 * k);
        const float n = float(label.text.size());
        label.x = cx + 0.48f * s * std::cos(a) - 0.22f * n * small;
        label.y = cy + 0.48f * s * std::sin(a) - 5 * std::sin(a) + 0.25f * small;
        labels.push_back(label);
    }
    return labels;
}
