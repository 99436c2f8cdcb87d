#include "data/padsettings.h"
#include "fuzz.h"

FUZZ_TARGET {
    ReadInput(data, size, [](FILE* f) {
        PadSettings s;
        ReadPadSettings(f, "fuzz", s);
        FormatPadSettings(s);
    });
}
