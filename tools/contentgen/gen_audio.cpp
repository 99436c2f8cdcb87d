// Every sound in Audio/: the effects, the engine loop and the music.
#include <filesystem>

#include "contentgen.h"
#include "synth.h"

bool GenerateAudio(const std::string& root) {
    const std::string dir = root + "/Audio";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    bool ok = true;
    for (const std::vector<GameSound>& group : {EffectSounds(), MusicPieces()})
        for (const GameSound& s : group) ok = WriteSound(dir + "/" + s.file, s.sound, s.peak) && ok;
    return ok;
}
