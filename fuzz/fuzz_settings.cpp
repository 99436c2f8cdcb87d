#include <cstdint>
#include <cstdio>

#include "data/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (!f)
        return 0;
    GameSettings s;
    if (ReadSettings(f, "fuzz", s))
        FormatSettings(s);
    fclose(f);
    return 0;
}
