#pragma once

#include <string>
#include <vector>

#include "app/states.h"
#include "data/settings.h"
#include "menus/menu.h"
#include "platform/displaymodes.h"

// The three option pages of the main menu. Rows live for the whole run and keep their choices between
// visits; only "Save and return" writes the settings file.
extern std::vector<MenuOption> gVideoRows;
extern std::vector<MenuOption> gAudioRows;
extern std::vector<MenuOption> gControlRows;

enum { VIDEO_SAVE, VIDEO_WINDOW_MODE, VIDEO_RESOLUTION, VIDEO_SHADOWS, VIDEO_LENS_FLARE, NUM_VIDEO_ROWS };
enum { AUDIO_SAVE, AUDIO_VOLUME, NUM_AUDIO_ROWS };
enum { CONTROL_SAVE, CONTROL_SENSITIVITY, CONTROL_FIRST_BINDING, NUM_CONTROL_ROWS = CONTROL_FIRST_BINDING + NUM_BINDINGS };

// Up/Down move between rows, Left/Right change the row's choice, Escape leaves without saving.
class COptionPagePhysics : public CMenuScreenPhysics {
public:
    explicit COptionPagePhysics(std::vector<MenuOption>& rows) : rows(rows) {}
    void onKey(unsigned char key, bool down) override;
    void onSpecialKey(int key, bool down) override;

    int current = 0;

protected:
    // Enter on the current row.
    virtual void onEnter() = 0;
    // After Left or Right has changed the current row's choice.
    virtual void onChoiceChanged() {}
    // "Save and return": the select sound, the settings file written from settings, back to the main menu.
    static void SaveAndReturn(const GameSettings& settings);

    std::vector<MenuOption>& rows;
};

struct ScreenMode {
    int width;
    int height;
};

// The modes the resolution row offers: the display's of width at least 640 and 32-bit colour, and the size
// the game runs at even when the display does not list it (the row starts there, so saving another row of
// the page keeps it), sorted, each once.
std::vector<ScreenMode> FilterDisplayModes(const std::vector<DisplayMode>& modes, ScreenMode running);

class CVideoSettingsPhysics : public COptionPagePhysics {
public:
    CVideoSettingsPhysics() : COptionPagePhysics(gVideoRows) {}
    void create() override;

    std::vector<ScreenMode> modes;

protected:
    void onEnter() override;
};

class CAudioSettingsPhysics : public COptionPagePhysics {
public:
    CAudioSettingsPhysics() : COptionPagePhysics(gAudioRows) {}
    void create() override;

protected:
    void onEnter() override;
    void onChoiceChanged() override;
};

class CControlSettingsPhysics : public COptionPagePhysics {
public:
    CControlSettingsPhysics() : COptionPagePhysics(gControlRows) {}
    void create() override;
    void onKey(unsigned char key, bool down) override;
    void onSpecialKey(int key, bool down) override;

    bool capturing = false;
    KeyBinding bindings[NUM_BINDINGS] = {};
    std::string names[NUM_BINDINGS];

    // Binds the current row (when it is a binding row) to the key; a control that had the key takes this
    // row's old one, so the two swap. A letter binds as its lower case.
    void Assign(int code, bool special);

protected:
    void onEnter() override;

private:
    void SetBinding(int binding, const KeyBinding& key);
};
