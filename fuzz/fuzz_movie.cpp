// The intro movie's opening path: a file that claims to be the movie, opened and decoded a few frames deep.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/moviedecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/fuzz_movie_" + std::to_string(getpid()) + ".avi";
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return 0;
    fwrite(data, 1, size, f);
    fclose(f);
    MovieDecoder movie;
    if (movie.Open(path.c_str())) {
        std::vector<uint8_t> rgb;
        for (int i = 0; i < 4 && movie.NextFrame(rgb); ++i) {
            volatile uint8_t last = rgb[rgb.size() - 1];
            (void)last;
        }
    }
    unlink(path.c_str());
    return 0;
}
