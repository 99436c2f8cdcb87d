#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "fuzzinput.h"
#include "race/vehicle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = OpenInput(data, size);
    if (!f)
        return 0;
    VehicleDefinition def{};
    ParseVehicleFile(f, "fuzz", def);
    fclose(f);
    SanitizeVehicle("fuzz", def);
    // Every text must end inside its field, and the flight model must get numbers it can use.
    if (!memchr(def.name, 0, sizeof(def.name)) || !memchr(def.engine, 0, sizeof(def.engine)) ||
        !memchr(def.description, 0, sizeof(def.description)))
        __builtin_trap();
    for (float v : {def.thrustPower, def.brakePower, def.turnPower, def.maxSpeed, def.maxTilt, def.damageScale})
        if (!(v >= 0.0f && v <= 1.0e6f))
            __builtin_trap();
    return 0;
}
