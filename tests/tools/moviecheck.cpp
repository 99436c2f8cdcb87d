// Decodes a movie the way the game does and prints "WIDTHxHEIGHT FPS FRAMES CHANGES", CHANGES being how
// many frames differ from the one before; with a second argument, writes frame N as a PPM file there.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/moviedecoder.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: moviecheck MOVIE [PPM FRAME]\n");
        return 2;
    }
    MovieDecoder movie;
    if (!movie.Open(argv[1])) return 1;
    const int dumpFrame = argc >= 4 ? atoi(argv[3]) : -1;
    std::vector<uint8_t> rgb, previous;
    int frames = 0, changes = 0;
    while (movie.NextFrame(rgb)) {
        if (frames > 0 && rgb != previous) ++changes;
        if (frames == dumpFrame) {
            if (FILE* f = fopen(argv[2], "wb")) {
                fprintf(f, "P6\n%d %d\n255\n", movie.Width(), movie.Height());
                fwrite(rgb.data(), 1, rgb.size(), f);
                fclose(f);
            }
        }
        previous.swap(rgb);
        ++frames;
    }
    printf("%dx%d %.2f %d %d\n", movie.Width(), movie.Height(), movie.FrameRate(), frames, changes);
    return 0;
}
