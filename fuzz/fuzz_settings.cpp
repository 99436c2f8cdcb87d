#include <cstdint>
#include <cstdio>

#include "data/settings.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = OpenInput(data, size);
    if (!f)
        return 0;
    GameSettings s;
    if (ReadSettings(f, "fuzz", s))
        FormatSettings(s);
    fclose(f);
    return 0;
}
