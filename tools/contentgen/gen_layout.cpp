// The runtime tree's folders and the player's initial settings.
#include <cstdio>
#include <filesystem>

#include "contentgen.h"
#include "data/settings.h"

namespace fs = std::filesystem;

bool GenerateLayout(const std::string& root) {
    std::error_code ec;
    for (const char* dir : {"bin", "Scripts", "Models", "Textures", "Audio", "Profiles"}) {
        fs::create_directories(fs::path(root) / dir, ec);
        if (ec) {
            fprintf(stderr, "contentgen: cannot create %s/%s: %s\n", root.c_str(), dir, ec.message().c_str());
            return false;
        }
    }
    // The settings file belongs to the player once it exists.
    const std::string settings = root + "/gamesettings.txt";
    if (!fs::exists(settings, ec) && !SaveSettingsTo(settings.c_str(), DefaultSettings()))
        return false;
    return true;
}
