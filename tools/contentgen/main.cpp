// Generates every file the game reads into the runtime tree given as the only argument.
#include <cstdio>
#include <string>

#include "contentgen.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: contentgen GAME_DIR\n");
        return 2;
    }
    const std::string root = argv[1];
    bool ok = GenerateLayout(root);
    ok = GenerateAudio(root) && ok;
    ok = GenerateFont(root) && ok;
    ok = GenerateHud(root) && ok;
    ok = GenerateSplash(root) && ok;
    ok = GenerateMovie(root) && ok;
    ok = GenerateVehicles(root) && ok;
    ok = GenerateTrack1(root) && ok;
    ok = GenerateFlares(root) && ok;
    ok = GenerateTrackArt(root) && ok;
    ok = ok && GenerateTracks(root);
    ok = GenerateTrophy(root) && ok;
    ok = GenerateSequences(root) && ok;  // flies the tracks and vehicles written above
    ok = GenerateMenus(root) && ok;
    if (!ok) {
        fprintf(stderr, "contentgen: content generation failed\n");
        return 1;
    }
    return 0;
}
