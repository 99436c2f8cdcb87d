#include "data/settings.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/log.h"
#include "platform/files.h"

GameSettings gSettings;
bool gTwoSidedStencil = false;
int gShadowTechnique = 0;
const char* const kSettingsFile = "../gamesettings.txt";

namespace {

const float kSensitivities[kNumSensitivities] = {0.6f, 0.77f, 0.9f, 1.0f, 1.2f, 1.35f, 1.6f};

// The order the loader compares words in; the file may hold them in any order.
const char* const kKeys[] = {"fullscreen", "screenwidth", "screenheight", "shadows", "lensflare",
                             "audio_volume", "key_forward", "key_brake", "key_left", "key_right",
                             "key_up", "key_down", "mouse_sensitivity"};
constexpr int kNumKeys = sizeof(kKeys) / sizeof(kKeys[0]);
constexpr int kFirstBindingKey = 6;
constexpr int kSpecialOffset = 1000;
// The widest and tallest window every GL driver can draw into.
constexpr int kMaxWindowSide = 16384;

void Apply(GameSettings& s, int key, int value) {
    switch (key) {
    case 0: s.fullscreen = value; break;
    case 1: s.screenWidth = value; break;
    case 2: s.screenHeight = value; break;
    case 3: s.shadows = value; break;
    case 4: s.lensFlare = value; break;
    case 5: s.audioVolume = float(value) / 10.0f; break;
    case 12: s.mouseSensitivity = SensitivityFromIndex(value); break;
    default: {
        KeyBinding& b = s.keys[key - kFirstBindingKey];
        if (value > kSpecialOffset) {
            b.code = value - kSpecialOffset;
            b.special = true;
        } else {
            b.code = value;  // 1000 itself is an ordinary code; the special flag stays as it was
        }
    }
    }
}

int BindingValue(const KeyBinding& b) {
    return b.special ? b.code + kSpecialOffset : b.code;
}

}  // namespace

float SensitivityFromIndex(int index) {
    if (index < 0 || index >= kNumSensitivities) {
        Log("Illegal mouse sensitivity detected. Using default.");
        return 1.0f;
    }
    return kSensitivities[index];
}

int SensitivityToIndex(float multiplier) {
    for (int i = 0; i < kNumSensitivities; i++)
        if (multiplier == kSensitivities[i])
            return i;
    Log("Illegal mouse sensitivity float. Cannot convert.");
    return 3;
}

bool LoadSettingsFrom(const char* path, GameSettings& s) {
    FILE* f = OpenGameFile(path, "r");
    if (!f) {
        Log("Settings file %s cannot be opened: the game needs it to start", path);
        return false;
    }
    const bool ok = ReadSettings(f, path, s);
    fclose(f);
    return ok;
}

bool ReadSettings(FILE* f, const char* path, GameSettings& s) {
    bool ok = true;
    int recognised = 0;
    char word[64];
    int value;
    while (fscanf(f, "%63s%d", word, &value) == 2) {
        int key = 0;
        while (key < kNumKeys && strcmp(word, kKeys[key]) != 0)
            key++;
        if (key == kNumKeys) {
            Log("Settings file %s: unknown setting \"%s\"", path, word);
            ok = false;
            continue;
        }
        Apply(s, key, value);
        recognised++;
    }
    if (ok && recognised != kNumKeys) {
        Log("Settings file %s: %d of the %d settings read, the file is incomplete or damaged", path, recognised,
            kNumKeys);
        ok = false;
    }
    if (ok && (s.screenWidth < 1 || s.screenHeight < 1 || s.screenWidth > kMaxWindowSide ||
               s.screenHeight > kMaxWindowSide)) {
        Log("Settings file %s: no window can be %d x %d pixels (1 to %d each)", path, s.screenWidth,
            s.screenHeight, kMaxWindowSide);
        ok = false;
    }
    s.aspectRatio = s.screenHeight != 0 ? float(s.screenWidth) / float(s.screenHeight) : 0.0f;
    return ok;
}

std::string FormatSettings(const GameSettings& s) {
    char text[512];
    snprintf(text, sizeof(text),
             "fullscreen %d\nscreenwidth %d\nscreenheight %d\nshadows %d\nlensflare %d\naudio_volume %d\n"
             "key_forward %d\nkey_brake %d\nkey_left %d\nkey_right %d\nkey_up %d\nkey_down %d\n"
             "mouse_sensitivity %d\n",
             s.fullscreen, s.screenWidth, s.screenHeight, s.shadows, s.lensFlare,
             int(std::lround(s.audioVolume * 10.0f)), BindingValue(s.keys[0]), BindingValue(s.keys[1]),
             BindingValue(s.keys[2]), BindingValue(s.keys[3]), BindingValue(s.keys[4]), BindingValue(s.keys[5]),
             SensitivityToIndex(s.mouseSensitivity));
    return text;
}

bool SaveSettingsTo(const char* path, const GameSettings& s) {
    if (!WriteFileAtomically(path, FormatSettings(s))) {
        Log("Settings file %s could not be written", path);
        return false;
    }
    return true;
}

bool LoadSettings() {
    return LoadSettingsFrom(kSettingsFile, gSettings);
}

bool SaveSettings(const GameSettings& settings) {
    return SaveSettingsTo(kSettingsFile, settings);
}

GameSettings SettingsOnDisk() {
    GameSettings s;  // a binding's special flag survives a plain code, so none may come from elsewhere
    if (LoadSettingsFrom(kSettingsFile, s))
        return s;
    Log("The running settings are saved instead");
    return gSettings;
}

GameSettings DefaultSettings() {
    GameSettings s;
    s.fullscreen = 0;
    s.screenWidth = 1024;
    s.screenHeight = 768;
    s.lensFlare = 1;
    s.shadows = 1;
    s.audioVolume = 0.8f;
    s.keys[BINDING_FORWARD] = {'a', false};
    s.keys[BINDING_BRAKE] = {'z', false};
    s.keys[BINDING_LEFT] = {100, true};
    s.keys[BINDING_RIGHT] = {102, true};
    s.keys[BINDING_UP] = {101, true};
    s.keys[BINDING_DOWN] = {103, true};
    s.mouseSensitivity = 1.0f;
    s.aspectRatio = 1024.0f / 768.0f;
    return s;
}
