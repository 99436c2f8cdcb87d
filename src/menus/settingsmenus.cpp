#include "menus/settingsmenus.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/soundmanager.h"
#include "platform/displaymodes.h"

std::vector<MenuOption> gVideoRows;
std::vector<MenuOption> gAudioRows;

namespace {

MenuOption OnOffRow(const char* label, bool on) {
    MenuOption row(label);
    row.AddChoice("DISABLED", 0);
    row.AddChoice("ENABLED", 1);
    row.index = on ? 1 : 0;
    return row;
}

}  // namespace

void COptionPagePhysics::SaveAndReturn(const GameSettings& settings) {
    PlayMenuSound(SOUND_MENUSELECT);
    SaveSettings(settings);
    gRequestedState = STATE_MAIN_MENU;
}

void COptionPagePhysics::onKey(unsigned char key, bool down) {
    if (!down)
        return;
    if (key == kKeyEscape)
        gRequestedState = STATE_MAIN_MENU;
    else if (key == kKeyEnter)
        onEnter();
}

void COptionPagePhysics::onSpecialKey(int key, bool down) {
    if (!down || rows.empty())
        return;
    if (key == kKeyUp || key == kKeyDown) {
        current = MoveHighlight(rows, current, key == kKeyUp ? -1 : 1);
        PlayMenuSound(SOUND_INTRAMENU);
    } else if (key == kKeyLeft || key == kKeyRight) {
        if (rows[size_t(current)].StepChoice(key == kKeyLeft ? -1 : 1))
            onChoiceChanged();
        PlayMenuSound(SOUND_INTRAMENU);
    }
}

std::vector<ScreenMode> FilterDisplayModes(const std::vector<DisplayMode>& modes, ScreenMode running) {
    std::vector<ScreenMode> kept = {running};
    for (const DisplayMode& m : modes)
        if (m.width >= 640 && m.depth >= 32)
            kept.push_back({m.width, m.height});
    auto less = [](const ScreenMode& a, const ScreenMode& b) {
        return a.width != b.width ? a.width < b.width : a.height < b.height;
    };
    auto same = [](const ScreenMode& a, const ScreenMode& b) { return a.width == b.width && a.height == b.height; };
    std::sort(kept.begin(), kept.end(), less);
    kept.erase(std::unique(kept.begin(), kept.end(), same), kept.end());
    return kept;
}

void CVideoSettingsPhysics::create() {
    modes = FilterDisplayModes(ListDisplayModes(), {gSettings.screenWidth, gSettings.screenHeight});
    gVideoRows.clear();
    gVideoRows.emplace_back("Save and return");
    MenuOption window("Window mode");
    window.AddChoice("WINDOWED", 0);
    window.AddChoice("FULL SCREEN", 1);
    window.index = gSettings.fullscreen ? 1 : 0;
    gVideoRows.push_back(window);
    MenuOption resolution("Resolution");
    for (size_t i = 0; i < modes.size(); i++) {
        char text[32];
        snprintf(text, sizeof(text), "%d x %d", modes[i].width, modes[i].height);
        resolution.AddChoice(text, int32_t(i));
        if (modes[i].width == gSettings.screenWidth && modes[i].height == gSettings.screenHeight)
            resolution.index = int32_t(i);
    }
    gVideoRows.push_back(resolution);
    gVideoRows.push_back(OnOffRow("Shadows and lighting", gSettings.shadows != 0));
    gVideoRows.push_back(OnOffRow("Lens flare effect", gSettings.lensFlare != 0));
    current = 0;
    gVideoRows[0].highlighted = true;
}

void CVideoSettingsPhysics::onEnter() {
    if (current != VIDEO_SAVE)
        return;
    // The running game keeps its mode; the file takes effect at the next start.
    GameSettings next = SettingsOnDisk();
    next.fullscreen = gVideoRows[VIDEO_WINDOW_MODE].ChoiceValue();
    next.lensFlare = gVideoRows[VIDEO_LENS_FLARE].ChoiceValue();
    next.shadows = gVideoRows[VIDEO_SHADOWS].ChoiceValue();
    const ScreenMode& mode = modes[size_t(gVideoRows[VIDEO_RESOLUTION].ChoiceValue())];
    next.screenWidth = mode.width;
    next.screenHeight = mode.height;
    SaveAndReturn(next);
}

void CAudioSettingsPhysics::create() {
    gAudioRows.clear();
    gAudioRows.emplace_back("Save and return");
    MenuOption volume = StepsRow("Audio volume", "OFF", 10, "MAX");
    // Rounded rather than cut: a volume read as 0.7 may be stored as 6.9999 tenths.
    volume.index = std::clamp(int(std::lround(gSettings.audioVolume * 10.0f)), 0, 10);
    gAudioRows.push_back(volume);
    current = 0;
    gAudioRows[0].highlighted = true;
}

void CAudioSettingsPhysics::onChoiceChanged() {
    if (current != AUDIO_VOLUME)
        return;
    gSettings.audioVolume = float(gAudioRows[AUDIO_VOLUME].ChoiceValue()) / 10.0f;
    if (gSoundManager)
        gSoundManager->ApplyVolume();
}

void CAudioSettingsPhysics::onEnter() {
    if (current != AUDIO_SAVE)
        return;
    gSettings.audioVolume = float(gAudioRows[AUDIO_VOLUME].ChoiceValue()) / 10.0f;
    GameSettings next = SettingsOnDisk();
    next.audioVolume = gSettings.audioVolume;
    SaveAndReturn(next);
}
