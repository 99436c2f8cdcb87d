// HUD scripts: any bytes must parse without a crash and leave only instruments of known codes.
#include "fuzz.h"
#include "hud/hudscript.h"

FUZZ_TARGET {
    HudLayout layout;
    ReadInput(data, size, [&](FILE* f) { ReadHudScript(f, 1024.0f, 768.0f, layout); });
    for (int code = 0; code < NUM_HUD_INSTRUMENTS; ++code)
        Require(!layout.instruments[code] || layout.instruments[code]->type == code);
}
