#pragma once

#include <cstdio>
#include <string>

// One driving control: a GLUT character code, or a GLUT special key code when special is set.
struct KeyBinding {
    int code;
    bool special;
};

enum {
    BINDING_FORWARD,
    BINDING_BRAKE,
    BINDING_LEFT,
    BINDING_RIGHT,
    BINDING_UP,
    BINDING_DOWN,
    NUM_BINDINGS
};

struct GameSettings {
    int fullscreen = 0;
    int screenWidth = 0;
    int screenHeight = 0;
    int lensFlare = 0;
    int shadows = 0;
    float audioVolume = 0.0f;
    KeyBinding keys[NUM_BINDINGS] = {};
    float mouseSensitivity = 0.0f;
    // Never stored in the file.
    float fieldOfView = 60.0f;
    float nearPlane = 0.2f;
    float farPlane = 200.0f;
    float aspectRatio = 0.0f;
};

extern GameSettings gSettings;
extern bool gTwoSidedStencil;  // "GL_EXT_stencil_two_side" present, set when the race renderer becomes current
extern int gShadowTechnique;   // 0 = z-fail, 1 = z-pass-plus

extern const char* const kSettingsFile;  // "../gamesettings.txt"
constexpr int kNumSensitivities = 7;

// Fills gSettings from the settings file; false (with one log line saying why) unless all 13 values were read.
bool LoadSettings();
bool SaveSettings(const GameSettings& settings);

// The settings as the file holds them, for a settings page to change only its own fields in, so it never
// writes back what another page saved since the start; the running settings when the file cannot be read.
GameSettings SettingsOnDisk();

bool LoadSettingsFrom(const char* path, GameSettings& settings);
bool ReadSettings(FILE* file, const char* name, GameSettings& settings);  // name is for messages
bool SaveSettingsTo(const char* path, const GameSettings& settings);
std::string FormatSettings(const GameSettings& settings);

// What a new install starts with: a 1024x768 window, arrows to steer.
GameSettings DefaultSettings();

float SensitivityFromIndex(int index);  // logs and gives 1.0 outside 0..6
int SensitivityToIndex(float multiplier);  // logs and gives 3 for a value not in the table
