#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "data/recording.h"

enum : uint32_t {
    LIGHT_SUN = 0,
    LIGHT_POINT = 1,
};

// The light record shared by the model renderer and the shadow volumes.
struct SceneLight {
    uint32_t type = LIGHT_SUN;
    float position[3] = {0.0f, 0.0f, 0.0f};
    float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float range = 0.0f;
    bool castsShadows = true;
    uint16_t index = 0;  // number in order of definition, sun and light blocks counted together
};

// Action ids of the animation block; the script words are the names without the prefix.
enum : int32_t {
    ACTION_THRUSTON = 0,
    ACTION_THRUSTOFF = 1,
    ACTION_BRAKESON = 2,
    ACTION_BRAKESOFF = 3,
    ACTION_SETSPEED = 4,
    ACTION_SETPOSITION = 5,
    ACTION_SETHEADING = 6,
    ACTION_CHANGEHEADING = 7,
    ACTION_CHANGECAMHEADING = 8,
    ACTION_CHANGEPITCH = 9,
    ACTION_CHANGECAMPITCH = 10,
    ACTION_CHANGECAMSPEED = 11,
    ACTION_SETCAMPOSITION = 12,
    ACTION_SETCAMSPEED = 13,
    ACTION_SHOWTEXT = 14,
    ACTION_SHOWTITLE = 15,
    ACTION_ROLLTEXT = 16,
    ACTION_FADEMUSIC = 17,
    ACTION_CIRCLEY = 18,
    ACTION_STOP = 19,
    NUM_ACTIONS = 20
};

// The script word of an action id ("THRUSTON" ...), or null outside 0..19.
const char* ActionName(int32_t action);

// How a command is written: "AT t" or "FROM a TO b", then the word and this many numbers.
struct ActionForm {
    bool ranged;     // FROM ... TO ...
    int numbers;     // 0, 1 or 3; captions carry 3 (or 0 for ROLLTEXT) plus a text word
    bool caption;    // SHOWTEXT, SHOWTITLE, ROLLTEXT
};
ActionForm FormOfAction(int32_t action);

// Seconds a caption stays on screen after its start.
float CaptionDuration(int32_t action);

struct AnimationCommand {
    int32_t action = ACTION_STOP;
    float start = 0.0f;
    float end = 0.0f;  // never earlier than start
    float duration = 0.0f;
    float value = 0.0f;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    std::string text;  // caption text, underscores already turned into blanks; empty for other actions
    bool done = false;
    bool started = false;
};

constexpr int kTitleSize = 255;
constexpr int kPathSize = 260;  // 259 characters and the terminator
constexpr int kMaxWordLength = 63;  // action words and caption texts

struct TrackSettings {
    float camStartPosition[3] = {0.0f, 0.0f, 0.0f};
    float camStartHeading = 0.0f;
    float camStartPitch = 0.0f;
    SceneLight sun;
    bool hasSun = false;
    float ambientColor[3] = {0.0f, 0.0f, 0.0f};
    bool fogEnabled = false;
    float fogColor[3] = {0.0f, 0.0f, 0.0f};
    float fogDensity = 0.0f;
    std::vector<SceneLight> lights;  // the sun (if any) and every light block, in file order
    std::vector<AnimationCommand> animationCommands;  // in file order, never sorted
    float vehicleStartPosition[3] = {0.0f, 0.0f, 0.0f};
    float vehicleStartHeading = 0.0f;
    char title[kTitleSize] = {};
    char skyModel[kPathSize] = {};
    char trackModel[kPathSize] = {};
    float goldTime = 0.0f, silverTime = 0.0f, bronzeTime = 0.0f;
    float goalMin[3] = {0.0f, 0.0f, 0.0f};  // inclusive goal box
    float goalMax[3] = {0.0f, 0.0f, 0.0f};
    int32_t goldCash = 0, silverCash = 0, bronzeCash = 0;
    int32_t requiredVehicle = 0;
    bool hasVehicleScript = false;
    char vehicleScript[kPathSize] = {};  // the file VEHICLESCRIPT named
    VehicleRecording vehicleRecording;   // loaded from it; kept when a later script names none
};

extern TrackSettings gTrackSettings;

// Empties the light and command lists and sets the reset values; the fields a script
// may omit without a reset value keep what the previous script set.
void ClearTrackSettings(TrackSettings& settings);

// The script of track slot `index` (from 0): "../Scripts/track<index + 1>.txt".
std::string TrackScriptPath(int index);

// Clears settings, then fills them from the script at path. Problems are only logged.
void LoadTrackSettings(const char* path, TrackSettings& settings);

// The same over an open stream; name is used in log lines only.
void ReadTrackSettings(FILE* file, const char* name, TrackSettings& settings);
