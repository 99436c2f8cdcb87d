// The four HUD scripts, Scripts/hud1.txt .. hud4.txt.
#include <cstdio>
#include <string>

#include "contentgen.h"
#include "hudscripts.h"
#include "platform/files.h"

bool GenerateHud(const std::string& root) {
    for (int i = 0; i < kNumVehicles; ++i) {
        const std::string path = root + "/Scripts/hud" + std::to_string(i + 1) + ".txt";
        if (!WriteFileAtomically(path.c_str(), HudScriptText(i))) {
            fprintf(stderr, "contentgen: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}
