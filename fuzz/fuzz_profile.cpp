#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzzinput.h"
#include "data/profile.h"

// Whatever the file holds, the record stays usable, and a file that loads cleanly is one the
// game writes back byte for byte.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = OpenInput(data, size);
    if (!f)
        return 0;
    // The name is the file's, as LoadProfile sets it; no line of the file changes it.
    Profile p;
    strcpy(p.name, "fuzz");
    ResetProfile(p);
    const bool ok = ReadProfile(f, "fuzz", p);
    fclose(f);
    if (strcmp(p.name, "fuzz") != 0 || p.activeVehicle < 0 || p.activeVehicle >= kNumVehicles ||
        p.ownedCount < 0 || p.ownedCount > kNumVehicles)
        __builtin_trap();
    if (ok && size > 0) {
        const std::string text = FormatProfile(p);
        FILE* g = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
        Profile q;
        strcpy(q.name, "fuzz");
        ResetProfile(q);
        if (!g || !ReadProfile(g, "fuzz", q) || FormatProfile(q) != text)
            __builtin_trap();
        fclose(g);
    }
    char time[kRaceTimeSize];
    FormatRaceTime(p.bestTimes[0], time);
    if (strlen(time) != kRaceTimeSize - 1)
        __builtin_trap();
    return 0;
}
