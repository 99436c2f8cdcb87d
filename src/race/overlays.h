#pragma once

#include <string>
#include <vector>

#include "race/splits.h"

class CGameRenderer;

// The 2D overlay that ends each frame of the race states, chosen by gRequestedState: the countdown box (12),
// the pause menu (14), the results panel with its trophy (15), the skip hint and captions (2, 18), the replay
// viewer's clock, speed, camera and keys (19).
void DrawOverlay(CGameRenderer& renderer);

enum { OVERLAY_FONT_SMALL_COURIER, OVERLAY_FONT_TITLE, OVERLAY_FONT_HINT };

struct OverlayText {
    int font;
    std::string text;
    int x, y;
    float color[4];
};

// What the results panel shows for a window of w x h pixels.
struct ResultsView {
    float raceSeconds;
    float bestSeconds;
    float goldTime, silverTime, bronzeTime;
    int medal;
    int cashWon, repairCost, total;
    SectorResults sectors;
};
std::vector<OverlayText> ResultsPanelTexts(int w, int h, const ResultsView& view);
// The keys of the results panel, on its last line.
extern const char* const kResultsKeysLine;
