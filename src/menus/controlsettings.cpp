#include "menus/settingsmenus.h"

#include "audio/soundmanager.h"
#include "data/keybinding.h"

std::vector<MenuOption> gControlRows;

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

void CControlSettingsPhysics::Assign(int code, bool special) {
    if (!IsBindingRow(current))
        return;
    PlayMenuSound(SOUND_INTRAMENU);
    const int b = current - CONTROL_FIRST_BINDING;
    const KeyBinding key{special ? code : LowerCaseKey(code), special};
    // A key held by two controls would only ever reach the first of them in a race.
    for (int other = 0; other < NUM_BINDINGS; other++)
        if (other != b && SameKey(bindings[other], key.code, special))
            SetBinding(other, bindings[b]);
    SetBinding(b, key);
}

void CControlSettingsPhysics::SetBinding(int b, const KeyBinding& key) {
    bindings[b] = key;
    names[b] = KeyBindingName(key);
    MenuOption& row = gControlRows[size_t(CONTROL_FIRST_BINDING + b)];
    row.choices.clear();
    row.values.clear();
    row.index = 0;
    row.AddChoice(names[b].c_str(), 0);
}

void CControlSettingsPhysics::onKey(unsigned char key, bool down) {
    if (down && key != kKeyEnter && key != kKeyEscape && IsBindingRow(current))
        Assign(key, false);
    else
        COptionPagePhysics::onKey(key, down);
}

void CControlSettingsPhysics::onSpecialKey(int key, bool down) {
    if (capturing) {
        // The pad's own buttons act beside every binding; a control bound to one would restart the race.
        if (down && key < kKeyPadBack)
            Assign(key, true);
        return;
    }
    COptionPagePhysics::onSpecialKey(key, down);
}

void CControlSettingsPhysics::onEnter() {
    if (current == CONTROL_SAVE) {
        gSettings.mouseSensitivity = SensitivityFromIndex(gControlRows[CONTROL_SENSITIVITY].ChoiceValue());
        GameSettings next = SettingsOnDisk();
        next.mouseSensitivity = gSettings.mouseSensitivity;
        for (int b = 0; b < NUM_BINDINGS; b++)
            gSettings.keys[b] = next.keys[b] = bindings[b];
        SaveAndReturn(next);
    } else if (IsBindingRow(current)) {
        PlayMenuSound(SOUND_INTRAMENU);
        capturing = !capturing;
        gControlRows[size_t(current)].capturing = capturing;
    }
}
