#include "data/padsettings.h"

#include <cstring>
#include <filesystem>

#include "app/log.h"
#include "data/settings.h"
#include "platform/files.h"

PadSettings gPadSettings;
const char* const kPadSettingsFile = "../padsettings.txt";

void LoadPadSettings() {
    gPadSettings = PadSettings();
    FILE* f = OpenGameFile(kPadSettingsFile, "r");
    if (!f)
        return;
    ReadPadSettings(f, kPadSettingsFile, gPadSettings);
    fclose(f);
}

void ReadPadSettings(FILE* f, const char* name, PadSettings& s) {
    char line[256];
    for (int number = 1; fgets(line, sizeof(line), f); ++number) {
        char word[64];
        int value;
        const int read = sscanf(line, "%63s%d", word, &value);
        if (read == 2 && strcmp(word, "rumble") == 0 && (value == 0 || value == 1))
            s.rumble = value;
        else if (read >= 1)
            Log("Pad settings file %s line %d: not \"rumble 0\" or \"rumble 1\", ignored", name, number);
    }
}

std::string FormatPadSettings(const PadSettings& s) {
    return "rumble " + std::to_string(s.rumble) + "\n";
}

bool WriteMissingSettingsFiles(const std::string& folder) {
    const std::string settings = folder + "gamesettings.txt", pad = folder + "padsettings.txt";
    std::error_code ec;
    if (!std::filesystem::exists(GamePath(settings.c_str()), ec) &&
        !SaveSettingsTo(settings.c_str(), DefaultSettings()))
        return false;
    if (!std::filesystem::exists(GamePath(pad.c_str()), ec) &&
        !WriteFileAtomically(pad.c_str(), FormatPadSettings(PadSettings()))) {
        Log("Pad settings file %s could not be written", pad.c_str());
        return false;
    }
    return true;
}
