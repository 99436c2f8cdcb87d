// The player's pad mapping file, each line handed to SDL's mapping parser.
#include <SDL.h>

#include <cstdint>
#include <cstdio>

#include "fuzzinput.h"
#include "platform/gamepad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    FILE* f = OpenInput(data, size);
    if (!started || !f)
        return 0;
    AddPadMappings(f, "fuzz");
    fclose(f);
    return 0;
}
