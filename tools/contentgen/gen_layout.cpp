// The runtime tree's folders and the player's initial settings files.
#include <cstdio>
#include <filesystem>

#include "contentgen.h"
#include "data/padsettings.h"

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
    // The settings files belong to the player once they exist.
    return WriteMissingSettingsFiles(root + "/");
}
