#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/gamedefs.h"

constexpr int kProfileNameSize = 20;  // 19 characters and the terminator
constexpr int kRaceTimeSize = 13;     // "hh:mm:ss.mmm" and the terminator
extern const char* const kProfileFolder;  // "../Profiles/"

// One player's progress, saved as "../Profiles/<name>.txt".
struct Profile {
    char name[kProfileNameSize] = {};
    int32_t activeVehicle = 0;  // the vehicle raced with, mirrored in gSelectedVehicle
    float percentComplete = 0.0f;  // kGameCompletePercent or more: the game is complete
    int32_t cash = 0;
    int32_t racesCompleted = 0;
    int32_t bronzeCups = 0, silverCups = 0, goldCups = 0;
    float bestTimes[kNumTracks] = {};  // seconds, 0 = no time yet; index k is track k + 1
    bool ownedVehicles[kNumVehicles] = {};
    int32_t ownedCount = 0;  // derived from ownedVehicles, never saved
};

extern Profile gProfile;
extern int gSelectedVehicle;  // 0..3, the vehicle raced with

// A new profile: no progress, vehicle 0 owned and active. The name is kept.
void ResetProfile(Profile& profile);
void ResetProfile();  // gProfile, and gSelectedVehicle = 0

// Resets gProfile and fills it from the file; true on success, otherwise false with a log line
// saying why (the values read so far stay). gSelectedVehicle follows the active vehicle.
bool LoadProfile(const char* path);
// Writes gProfile (with gSelectedVehicle as its active vehicle) to its file through a temporary
// file renamed over the old one, so a crash never leaves half a career. False, logged, on failure.
bool SaveProfile();

// Fills profile, all but its name (the NAME line is ignored), from an open profile file without resetting
// it first; name is for log lines.
bool ReadProfile(FILE* file, const char* name, Profile& profile);
// The file text the game writes for profile.
std::string FormatProfile(const Profile& profile);

// A name that is its own file in the profile folder: 1 to 19 characters, no control characters,
// no '/' or '\\', not starting with '.' and holding no "..".
bool IsSafeProfileName(const char* name);
std::string ProfilePath(const char* name);  // "../Profiles/<name>.txt"
// "../Profiles/<name>.ghosts/": the profile's best runs, one file per track; never listed as a profile.
std::string GhostFolder(const char* name);
bool ProfileExists(const char* name);
// Names of the saved profiles (file names without ".txt"), sorted; logs when the folder is missing.
std::vector<std::string> ListProfiles();
// Makes gProfile a new profile of that name and saves it. Refuses (logged) an unsafe name or one
// whose file exists already, so creating a profile never overwrites another career.
bool CreateProfile(const char* name);
// Deletes the profile's file and its ghosts; logs "Failed to delete profile <path>" on failure.
bool DeleteProfile(const char* name);

// "hh:mm:ss.mmm" into out (at least kRaceTimeSize bytes); "--:--:--.---" for no time (0, negative
// or not a number). Times of 100 hours or more show as 99:59:59.999.
void FormatRaceTime(float seconds, char* out);
