#include <cstdint>
#include <cstdio>

#include "data/padsettings.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = OpenInput(data, size);
    if (!f)
        return 0;
    PadSettings s;
    ReadPadSettings(f, "fuzz", s);
    FormatPadSettings(s);
    fclose(f);
    return 0;
}
