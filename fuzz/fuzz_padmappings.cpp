// The player's pad mapping file, each line handed to SDL's mapping parser.
#include <SDL.h>

#include "fuzz.h"
#include "platform/gamepad.h"

FUZZ_TARGET {
    // SDL keeps every mapping added, and each new one is looked up among them: restarting its controller
    // layer now and then keeps the list short. A restart for every input would cost far more than the input.
    static int inputs = 0;
    if (inputs++ % 1000 == 0) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    ReadInput(data, size, [](FILE* f) { AddPadMappings(f, "fuzz"); });
}
