#pragma once

#include <cstdio>
#include <string>

// The pad's own switches, kept apart from the settings file, whose 13 lines stay as they are:
// "../padsettings.txt", lines of `key value` ("rumble 1"). A missing file or key keeps the default.
struct PadSettings {
    int rumble = 1;  // a pulse on every impact that damages the vehicle
};

extern PadSettings gPadSettings;
extern const char* const kPadSettingsFile;  // "../padsettings.txt"

// Fills gPadSettings from the file; an unknown or unreadable line is one log line and is skipped.
void LoadPadSettings();
void ReadPadSettings(FILE* file, const char* name, PadSettings& settings);  // name is for messages
std::string FormatPadSettings(const PadSettings& settings);

// Writes the settings file and the pad settings file with their defaults where they do not exist yet: a
// generated tree and an installed game's first start begin alike. folder ends with '/'.
bool WriteMissingSettingsFiles(const std::string& folder);
