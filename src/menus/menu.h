#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/gamedefs.h"
#include "app/states.h"

// Base of the menu screens' update objects: none uses the mouse, and unless a screen says otherwise it
// has nothing to animate and nothing to build at start-up.
class CMenuScreenPhysics : public CPhysics {
public:
    void update(float) override {}
};

// One row of an option list: the settings pages, the load-profile page, the profile menu, the pause menu.
struct MenuOption {
    explicit MenuOption(const char* text = "");
    // Appends a choice; texts longer than 63 characters are cut.
    void AddChoice(const char* text, int32_t value);
    // The current choice's text, or nullptr when the row has none.
    const char* ChoiceText() const;
    int32_t ChoiceValue() const;
    // Steps index through the choices by delta, wrapping at both ends; false when there are none.
    bool StepChoice(int delta);

    char label[64];
    bool highlighted = false;
    // Capturing on the control page, unavailable in the profile menu; false elsewhere.
    bool flagged = false;
    int32_t index = 0;
    std::vector<std::string> choices;
    std::vector<int32_t> values;
};

// A row of numbered steps: `lowest` (value 0), "1" .. "highest - 1", then `top` (value highest).
MenuOption StepsRow(const char* label, const char* lowest, int highest, const char* top);

// Moves the highlight of a row list by delta (+1 down, -1 up), wrapping; returns the new current row.
int MoveHighlight(std::vector<MenuOption>& rows, int current, int delta);

// Menu sounds and music; each does nothing while there is no enabled sound manager.
void PlayMenuSound(int id);
void StartMenuMusic();
void StopMenuMusic();

// The 640 x 480 panel of the main menu pages, centred in the window: left edge and top edge.
struct PanelOrigin {
    float x0, yTop;
};
PanelOrigin PanelFor(int width, int height);

// Money as the menus show it: 1,234,567$ / 1,005$ / 7$ / -250$.
std::string FormatCash(int32_t cash);

// The slide of a card screen (track selection, vehicle screens): the shown card leaves on one side and the
// next one comes in from the other, one window width in half a second each way.
struct CardSlide {
    // Starts a slide to target; direction -1 is Left (the card moves right), +1 is Right.
    void Start(int newTarget, int direction);
    // Advances by dt; true exactly once per slide, at the moment the shown card must become target.
    bool Advance(float dt);
    void Reset();

    bool sliding = false;
    float speed = 0.0f;  // window widths per second, +2 or -2
    int target = 0;
    int phase = 0;  // 0 leaving, 1 arriving
    float offset = 0.0f;  // window widths
    bool slidingLeft = false;
    bool slidingRight = false;
};
