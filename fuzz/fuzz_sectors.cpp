// A profile's sector times: any bytes must parse without crashing, taken whole or not at all, and what is
// taken is written back as the same text it reads from.
#include "data/sectorfiles.h"
#include "fuzz.h"

FUZZ_TARGET {
    SectorTimes times;
    std::string why;
    if (!ReadSectorTimes(reinterpret_cast<const char*>(data), size, times, why)) {
        const SectorTimes none;
        Require(!why.empty() && memcmp(&times, &none, sizeof times) == 0);
        return;
    }
    const std::string text = FormatSectorTimes(times);
    SectorTimes again;
    Require(ReadSectorTimes(text.data(), text.size(), again, why) && FormatSectorTimes(again) == text);
}
