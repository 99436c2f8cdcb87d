// Saves the settings or a profile through the game's own writers, for a test that kills it mid-save.
// Run from a game tree's bin folder:
//   savestress save settings|profile A|B   one save of that version
//   savestress loop settings|profile       saves B, A, B, ... until killed; prints "saving" after the first
//   savestress check settings|profile      the file loads through the game's loader and is version A or B
//                                          (prints which); the profile list holds that one profile only
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "data/profile.h"
#include "data/settings.h"
#include "race/vehicle.h"

namespace {

const char* const kName = "Pilot1";

// Version A is the defaults, B a smaller window and a long career: the test tells them apart byte for byte.
GameSettings SettingsVersion(bool b) {
    GameSettings s = DefaultSettings();
    if (b) {
        s.screenWidth = 800;
        s.screenHeight = 600;
        s.mouseSensitivity = 1.35f;
    }
    return s;
}

Profile ProfileVersion(bool b) {
    Profile p;
    strcpy(p.name, kName);
    ResetProfile(p);
    if (b) {
        p.cash = 123456;
        for (int t = 0; t < kNumTracks; ++t)
            p.bestTimes[t] = 61.25f + float(t) * 3.5f;
    }
    return p;
}

bool Save(bool settings, bool b) {
    if (settings)
        return SaveSettings(SettingsVersion(b));
    gProfile = ProfileVersion(b);
    gSelectedVehicle = gProfile.activeVehicle;
    return SaveProfile();
}

std::string Version(bool settings, bool b) {
    return settings ? FormatSettings(SettingsVersion(b)) : FormatProfile(ProfileVersion(b));
}

// The file loads through the game's loader as version A or B, and a stale temporary file from a killed save
// never shows as a profile of its own.
int Check(bool settings) {
    std::string loaded;  // the file as the game would write it again
    if (settings ? LoadSettings() : LoadProfile(ProfilePath(kName).c_str()))
        loaded = settings ? FormatSettings(gSettings) : FormatProfile(gProfile);
    const bool listed = settings || ListProfiles() == std::vector<std::string>{kName};
    for (int v = 0; v < 2; ++v)
        if (listed && !loaded.empty() && loaded == Version(settings, v == 1)) {
            printf("%c\n", 'A' + v);
            return 0;
        }
    fprintf(stderr, "savestress: the file loads as neither version, or the profile list holds more than %s:\n%s", kName,
            loaded.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    const std::string command = argv[1];
    const bool settings = std::string(argv[2]) == "settings";
    if (command == "check")
        return Check(settings);
    if (command == "save")
        return argc > 3 && Save(settings, std::string(argv[3]) == "B") ? 0 : 1;
    for (unsigned n = 0;; ++n) {
        Save(settings, n % 2 == 0);
        if (n == 0) {
            printf("saving\n");
            fflush(stdout);
        }
    }
}
