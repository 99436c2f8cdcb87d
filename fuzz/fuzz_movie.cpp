// The intro movie's opening path: a file that claims to be the movie, its pictures and its sound track
// opened and decoded a few pieces deep. Edits to a small valid movie made at start-up (PatchInput) reach far
// deeper into demuxer and decoders than random bytes do.
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "fuzz.h"
#include "kit_movie.h"
#include "platform/moviedecoder.h"

namespace {

const std::string& MoviePath() {
    static const std::string path = "/tmp/fuzz_movie_" + std::to_string(getpid()) + ".avi";
    return path;
}

std::vector<uint8_t> MakeTemplate() {
    const std::string path = MoviePath() + ".template";
    {
        MovieWriter writer(path, 32, 24, 25, 8000);
        std::vector<int16_t> sound(960);
        for (size_t i = 0; i < sound.size(); ++i) sound[i] = static_cast<int16_t>((i % 40) * 800 - 16000);
        writer.AddSound(sound);
        for (int i = 0; i < 3; ++i) {
            Canvas c(32, 24);
            c.FillCircle(8.0f + 8.0f * i, 12.0f, 6.0f, {250, 200, 40});
            writer.Add(c, i);
        }
        writer.Finish();
    }
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
    unlink(path.c_str());
    return bytes;
}

}  // namespace

FUZZ_TARGET {
    static const std::vector<uint8_t> sound = MakeTemplate();
    PatchInput(data, size, sound);
    std::ofstream(MoviePath(), std::ios::binary).write(reinterpret_cast<const char*>(data), long(size));
    // As the player does: the sound track is opened only for a movie whose first picture decodes.
    MovieDecoder decoder;
    std::vector<uint8_t> rgb;
    int pictures = 0;
    if (decoder.Open(MoviePath().c_str()))
        for (; pictures < 4 && decoder.NextFrame(rgb); ++pictures)
            Require(rgb.size() == size_t(decoder.Width()) * size_t(decoder.Height()) * 3);
    MovieSoundDecoder track;
    std::vector<int16_t> samples;
    if (pictures > 0 && track.Open(MoviePath().c_str()))
        for (int i = 0; i < 4 && track.NextSamples(samples); ++i)
            Require(samples.size() % size_t(track.Channels()) == 0);
    unlink(MoviePath().c_str());
}
