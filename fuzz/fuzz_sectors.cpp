// A profile's sector times: any bytes must parse without crashing, taken whole or not at all, and what is
// taken is written back as the same text it reads from.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "data/sectorfiles.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SectorTimes times;
    std::string why;
    if (!ReadSectorTimes(reinterpret_cast<const char*>(data), size, times, why)) {
        const SectorTimes none;
        if (why.empty() || memcmp(&times, &none, sizeof times) != 0) abort();
        return 0;
    }
    const std::string text = FormatSectorTimes(times);
    SectorTimes again;
    if (!ReadSectorTimes(text.data(), text.size(), again, why) || FormatSectorTimes(again) != text) abort();
    return 0;
}
