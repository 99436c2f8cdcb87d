#include "data/profile.h"
#include "fuzz.h"

// Whatever the file holds, the record stays usable, and a file that loads cleanly is one the
// game writes back byte for byte.
FUZZ_TARGET {
    // The name is the file's, as LoadProfile sets it; no line of the file changes it.
    const auto read = [](FILE* f, Profile& p) {
        strcpy(p.name, "fuzz");
        ResetProfile(p);
        return ReadProfile(f, "fuzz", p);
    };
    ReadInput(data, size, [size, &read](FILE* f) {
        Profile p;
        const bool ok = read(f, p);
        Require(strcmp(p.name, "fuzz") == 0 && p.activeVehicle >= 0 && p.activeVehicle < kNumVehicles &&
                p.ownedCount >= 0 && p.ownedCount <= kNumVehicles);
        if (ok && size > 0) {
            const std::string text = FormatProfile(p);
            Profile q;
            bool again = false;
            ReadInput(reinterpret_cast<const uint8_t*>(text.data()), text.size(), [&](FILE* g) { again = read(g, q); });
            Require(again && FormatProfile(q) == text);
        }
        char time[kRaceTimeSize];
        FormatRaceTime(p.bestTimes[0], time);
        Require(strlen(time) == kRaceTimeSize - 1);
    });
}
