#include <cstdint>
#include <cstdio>
#include <cstring>

#include "data/scriptline.h"
#include "race/vehicle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = OpenTextStream(reinterpret_cast<const char*>(data), size);
    if (!f)
        return 0;
    VehicleDefinition def{};
    ParseVehicleFile(f, "fuzz", def);
    fclose(f);
    SanitizeVehicle("fuzz", def);
    // Every text field must still be terminated inside its array.
    if (!memchr(def.name, 0, sizeof(def.name)) || !memchr(def.engine, 0, sizeof(def.engine)) ||
        !memchr(def.description, 0, sizeof(def.description)))
        __builtin_trap();
    return 0;
}
