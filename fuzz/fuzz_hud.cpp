#include <cstdint>
#include <cstdio>

#include "hud/hudscript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (!f)
        return 0;
    HudLayout layout;
    ReadHudScript(f, 1024.0f, 768.0f, layout);
    fclose(f);
    for (const auto& slot : layout.instruments)
        if (slot && (slot->type < 0 || slot->type >= NUM_HUD_INSTRUMENTS))
            __builtin_trap();
    return 0;
}
