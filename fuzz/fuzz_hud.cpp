// HUD scripts: any bytes must parse without a crash and leave only instruments of known codes.
#include <cstdint>
#include <cstdio>

#include "fuzzinput.h"
#include "hud/hudscript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HudLayout layout;
    if (FILE* f = OpenInput(data, size)) {
        ReadHudScript(f, 1024.0f, 768.0f, layout);
        fclose(f);
    }
    for (int code = 0; code < NUM_HUD_INSTRUMENTS; ++code)
        if (layout.instruments[code] && layout.instruments[code]->type != code)
            __builtin_trap();
    return 0;
}
