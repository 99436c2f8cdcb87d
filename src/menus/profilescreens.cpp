// The new-profile and load-profile pages of the main menu.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "app/log.h"
#include "audio/soundmanager.h"
#include "data/profile.h"
#include "menus/profilemenus.h"

char gNewProfileName[kMaxTypedNameLength + 1];
bool gNewProfileCaretVisible = false;
std::string gNewProfileNotice;

std::vector<MenuOption> gLoadProfileRows;
bool gLoadProfileConfirming = false;
MenuOption gConfirmRows[2];
std::string gLoadProfileNotice;

namespace {

// What can be typed into a new profile's name.
bool IsNameCharacter(unsigned char c) {
    return c < 128 && (isalnum(c) || c == ' ' || c == '_');
}

// The rows only show the choice; it is kept in one place.
void ShowConfirmChoice(int choice) {
    for (int i = 0; i < 2; ++i)
        gConfirmRows[i].highlighted = i == choice;
}

}  // namespace

void CNewProfilePhysics::enter() {
    CPhysics::enter();
    memset(gNewProfileName, 0, sizeof(gNewProfileName));
    length = 0;
    blinkTimer = 0.0f;
    gNewProfileCaretVisible = false;
    gNewProfileNotice.clear();
}

void CNewProfilePhysics::update(float dt) {
    blinkTimer += dt;
    if (blinkTimer >= 0.5f) {
        blinkTimer = 0.0f;
        gNewProfileCaretVisible = !gNewProfileCaretVisible;
    }
}

void CNewProfilePhysics::onKey(unsigned char key, bool down) {
    if (!down)
        return;
    if (key == kKeyEscape) {
        gRequestedState = STATE_MAIN_MENU;
        return;
    }
    if (key == kKeyBackspace) {
        if (length > 0)
            gNewProfileName[--length] = '\0';
        else
            PlayMenuSound(SOUND_ALERT);
        return;
    }
    if (key != kKeyEnter) {
        if (IsNameCharacter(key) && length < kMaxTypedNameLength)
            gNewProfileName[length++] = char(key);
        else
            PlayMenuSound(SOUND_ALERT);
        return;
    }
    if (length == 0) {
        PlayMenuSound(SOUND_ALERT);
        return;
    }
    // Another career under this name would be reset and overwritten.
    if (ProfileExists(gNewProfileName)) {
        gNewProfileNotice = std::string("A profile named \"") + gNewProfileName + "\" already exists.";
        PlayMenuSound(SOUND_ALERT);
        return;
    }
    if (!CreateProfile(gNewProfileName)) {
        gNewProfileNotice = "The profile could not be saved.";
        PlayMenuSound(SOUND_ALERT);
        return;
    }
    gRequestedState = STATE_PROFILE_MENU;
}

void CLoadProfileMenuPhysics::create() {
    gConfirmRows[0] = MenuOption("No");
    gConfirmRows[1] = MenuOption("Yes");
    ShowConfirmChoice(0);
}

void CLoadProfileMenuPhysics::enter() {
    CPhysics::enter();
    current = 0;
    confirmChoice = 0;
    ShowConfirmChoice(confirmChoice);
    gLoadProfileConfirming = false;
    gLoadProfileNotice.clear();
    gLoadProfileRows.clear();
    gLoadProfileRows.emplace_back("Back");
    for (const std::string& name : ListProfiles()) {
        if (IsSafeProfileName(name.c_str()))
            gLoadProfileRows.emplace_back(name.c_str());
        else
            Log("Profile file %s%s.txt is not offered: its name is not a profile name", kProfileFolder, name.c_str());
    }
    gLoadProfileRows[0].highlighted = true;
}

void CLoadProfileMenuPhysics::onSpecialKey(int key, bool down) {
    if (!down || (key != kKeyUp && key != kKeyDown))
        return;
    PlayMenuSound(SOUND_INTRAMENU);
    if (gLoadProfileConfirming) {
        confirmChoice = 1 - confirmChoice;
        ShowConfirmChoice(confirmChoice);
    } else {
        current = MoveHighlight(gLoadProfileRows, current, key == kKeyUp ? -1 : 1);
    }
}

void CLoadProfileMenuPhysics::onKey(unsigned char key, bool down) {
    if (!down)
        return;
    if ((key == kKeyBackspace || key == kKeyDelete) && current > 0 && !gLoadProfileConfirming) {
        gLoadProfileConfirming = true;
        gLoadProfileNotice.clear();
    } else if (key == kKeyEnter) {
        if (gLoadProfileConfirming)
            Confirm();
        else if (current == 0)
            gRequestedState = STATE_MAIN_MENU;
        else
            Load();
    }
}

void CLoadProfileMenuPhysics::Confirm() {
    if (confirmChoice == 1) {
        PlayMenuSound(SOUND_MENUSELECT);
        if (DeleteProfile(gLoadProfileRows[size_t(current)].label))
            enter();
        else
            gLoadProfileNotice = "The profile could not be deleted.";
    }
    gLoadProfileConfirming = false;
    confirmChoice = 0;
    ShowConfirmChoice(confirmChoice);
}

void CLoadProfileMenuPhysics::Load() {
    PlayMenuSound(SOUND_MENUSELECT);
    const char* name = gLoadProfileRows[size_t(current)].label;
    if (!LoadProfile(ProfilePath(name).c_str())) {
        gLoadProfileNotice = std::string("Profile \"") + name + "\" is damaged and could not be loaded.";
        PlayMenuSound(SOUND_ALERT);
        return;
    }
    // The file is the profile: a name line saying otherwise must not send later saves elsewhere.
    snprintf(gProfile.name, sizeof(gProfile.name), "%.*s", int(sizeof(gProfile.name) - 1), name);
    gRequestedState = STATE_PROFILE_MENU;
}
