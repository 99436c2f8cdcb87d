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

GameSettings SettingsVersion(bool b) {
    GameSettings s = DefaultSettings();
    if (b) {
        s.screenWidth = 800;
        s.screenHeight = 600;
        s.shadows = 0;
        s.lensFlare = 0;
        s.audioVolume = 0.3f;
        s.keys[BINDING_FORWARD] = {'w', false};
        s.mouseSensitivity = 1.35f;
    }
    return s;
}

// B is a long career, so a file cut anywhere between the two lengths is told apart from both.
Profile ProfileVersion(bool b) {
    Profile p;
    strcpy(p.name, kName);
    ResetProfile(p);
    if (b) {
        p.activeVehicle = 2;
        p.ownedVehicles[2] = true;
        p.ownedCount = 2;
        p.percentComplete = 37.5f;
        p.cash = 123456;
        p.racesCompleted = 41;
        p.bronzeCups = 3;
        p.silverCups = 5;
        p.goldCups = 4;
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

// The loaded file as the game would write it again; empty when it does not load.
std::string Loaded(bool settings) {
    if (settings)
        return LoadSettings() ? FormatSettings(gSettings) : "";
    return LoadProfile(ProfilePath(kName).c_str()) ? FormatProfile(gProfile) : "";
}

std::string Version(bool settings, bool b) {
    return settings ? FormatSettings(SettingsVersion(b)) : FormatProfile(ProfileVersion(b));
}

int Check(bool settings) {
    const std::string loaded = Loaded(settings);
    if (loaded.empty()) {
        fprintf(stderr, "savestress: the %s does not load\n", settings ? "settings file" : "profile");
        return 1;
    }
    // A stale temporary file from a killed save must never show as a profile of its own.
    if (!settings && ListProfiles() != std::vector<std::string>{kName}) {
        fprintf(stderr, "savestress: the profile list holds more than %s\n", kName);
        return 1;
    }
    for (int v = 0; v < 2; ++v)
        if (loaded == Version(settings, v == 1)) {
            printf("%c\n", 'A' + v);
            return 0;
        }
    fprintf(stderr, "savestress: the file loads as neither version:\n%s", loaded.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 2 ? argv[1] : "";
    const std::string kind = argc > 2 ? argv[2] : "";
    if ((kind != "settings" && kind != "profile") || (command != "save" && command != "loop" && command != "check") ||
        (command == "save" && (argc < 4 || (strcmp(argv[3], "A") != 0 && strcmp(argv[3], "B") != 0)))) {
        fprintf(stderr, "usage: savestress save settings|profile A|B | loop settings|profile | check settings|profile\n");
        return 2;
    }
    const bool settings = kind == "settings";
    if (command == "check")
        return Check(settings);
    if (command == "save")
        return Save(settings, argv[3][0] == 'B') ? 0 : 1;
    for (unsigned n = 0;; ++n) {
        Save(settings, n % 2 == 0);
        if (n == 0) {
            printf("saving\n");
            fflush(stdout);
        }
    }
}
