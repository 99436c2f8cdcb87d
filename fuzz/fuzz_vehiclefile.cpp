#include <initializer_list>

#include "fuzz.h"
#include "race/vehicle.h"

FUZZ_TARGET {
    ReadInput(data, size, [](FILE* f) {
        VehicleDefinition def{};
        ParseVehicleFile(f, "fuzz", def);
        SanitizeVehicle("fuzz", def);
        // Every text must end inside its field, and the flight model must get numbers it can use.
        Require(memchr(def.name, 0, sizeof(def.name)) && memchr(def.engine, 0, sizeof(def.engine)) &&
                memchr(def.description, 0, sizeof(def.description)));
        for (float v : {def.thrustPower, def.brakePower, def.turnPower, def.maxSpeed, def.maxTilt, def.damageScale})
            Require(v >= 0.0f && v <= 1.0e6f);
    });
}
