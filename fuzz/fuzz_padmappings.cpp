// The player's pad mapping file, each line handed to SDL's mapping parser.
#include <SDL.h>

#include <cstdint>
#include <cstdio>

#include "fuzzinput.h"
#include "platform/gamepad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // SDL keeps every mapping added, and each new one is looked up among them: restarting its controller
    // layer now and then keeps the list short. A restart for every input would cost far more than the input.
    static int inputs = 0;
    if (inputs++ % 1000 == 0) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    FILE* f = OpenInput(data, size);
    if (!f)
        return 0;
    AddPadMappings(f, "fuzz");
    fclose(f);
    return 0;
}
