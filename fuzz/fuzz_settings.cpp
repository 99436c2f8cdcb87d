#include "data/settings.h"
#include "fuzz.h"

FUZZ_TARGET {
    ReadInput(data, size, [](FILE* f) {
        GameSettings s;
        if (ReadSettings(f, "fuzz", s))
            FormatSettings(s);
    });
}
