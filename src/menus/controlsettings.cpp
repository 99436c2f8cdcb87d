#include "menus/settingsmenus.h"

#include <cstdio>

#include "app/input.h"
#include "audio/soundmanager.h"

std::vector<MenuOption> gControlRows;
std::string gControlNotice;

namespace {

const char* const kBindingLabels[NUM_BINDINGS] = {"Forward",  "Brake",        "Turn left",
                                                  "Turn right", "Turn upwards", "Turn downwards"};

bool IsBindingRow(int row) {
    return row >= CONTROL_FIRST_BINDING && row < NUM_CONTROL_ROWS;
}

}  // namespace

void CControlSettingsPhysics::create() {
    gControlRows.clear();
    gControlRows.emplace_back("Save and return");
    MenuOption sensitivity = StepsRow("Mouse sensitivity", "MIN", kNumSensitivities - 1, "MAX");
    sensitivity.index = SensitivityToIndex(gSettings.mouseSensitivity);
    gControlRows.push_back(sensitivity);
    for (int b = 0; b < NUM_BINDINGS; b++) {
        bindings[b] = gSettings.keys[b];
        names[b] = KeyBindingName(bindings[b]);
        MenuOption row(kBindingLabels[b]);
        row.AddChoice(names[b].c_str(), 0);
        gControlRows.push_back(row);
    }
    current = 0;
    capturing = false;
    gControlRows[0].highlighted = true;
}

void CControlSettingsPhysics::enter() {
    CPhysics::enter();
    gControlNotice.clear();
}

void CControlSettingsPhysics::Assign(int code, bool special) {
    if (!IsBindingRow(current))
        return;
    const int b = current - CONTROL_FIRST_BINDING;
    const KeyBinding key{code, special};
    const std::string name = KeyBindingName(key);
    for (int other = 0; other < NUM_BINDINGS; other++)
        if (other != b && bindings[other].code == code && bindings[other].special == special) {
            // A key held by two controls would only ever reach the first of them in a race.
            char notice[96];
            snprintf(notice, sizeof(notice), "\"%s\" is already used for %s.", name.c_str(), kBindingLabels[other]);
            gControlNotice = notice;
            PlayMenuSound(SOUND_ALERT);
            return;
        }
    PlayMenuSound(SOUND_INTRAMENU);
    gControlNotice.clear();
    bindings[b] = key;
    names[b] = name;
    MenuOption& row = gControlRows[size_t(current)];
    row.choices.clear();
    row.values.clear();
    row.index = 0;
    row.AddChoice(name.c_str(), 0);
}

void CControlSettingsPhysics::onKey(unsigned char key, bool down) {
    if (down && key != kKeyEnter && key != kKeyEscape && IsBindingRow(current))
        Assign(key, false);
    else
        COptionPagePhysics::onKey(key, down);
}

void CControlSettingsPhysics::onSpecialKey(int key, bool down) {
    if (capturing) {
        if (down)
            Assign(key, true);
        return;
    }
    COptionPagePhysics::onSpecialKey(key, down);
}

void CControlSettingsPhysics::onEnter() {
    if (current == CONTROL_SAVE) {
        gSettings.mouseSensitivity = SensitivityFromIndex(gControlRows[CONTROL_SENSITIVITY].ChoiceValue());
        for (int b = 0; b < NUM_BINDINGS; b++)
            gSettings.keys[b] = bindings[b];
        SaveAndReturn(gSettings);
    } else if (IsBindingRow(current)) {
        PlayMenuSound(SOUND_INTRAMENU);
        capturing = !capturing;
        gControlRows[size_t(current)].flagged = capturing;
    }
}
