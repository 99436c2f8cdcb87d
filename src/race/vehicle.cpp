// Vehicle files, models and the global vehicle table.
#include "race/vehicle.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "app/log.h"
#include "data/scriptline.h"
#include "platform/files.h"
#include "scene/milkshape.h"
#include "scene/rendermodel.h"

VehicleDefinition gVehicles[kNumVehicles];

namespace {

// The numeric keys in the order they are tried; each is the key at the very start of the line, optional
// blanks and a number.
struct NumericKey {
    const char* key;
    int32_t VehicleDefinition::*integer;
    float VehicleDefinition::*real;
};
const NumericKey kNumericKeys[] = {
    {"PRICE", &VehicleDefinition::price, nullptr},
    {"DAMAGEPRICE", &VehicleDefinition::damagePrice, nullptr},
    {"WEIGHT", &VehicleDefinition::weight, nullptr},
    {"HORSE_POWER", &VehicleDefinition::horsePower, nullptr},
    {"TOP_SPEED", &VehicleDefinition::topSpeed, nullptr},
    {"THRUST_POWER", nullptr, &VehicleDefinition::thrustPower},
    {"BRAKE_POWER", nullptr, &VehicleDefinition::brakePower},
    {"TURN_POWER", nullptr, &VehicleDefinition::turnPower},
    {"MAX_SPEED", nullptr, &VehicleDefinition::maxSpeed},
    {"MAX_TILT", nullptr, &VehicleDefinition::maxTilt},
    {"ENGINE_DAMAGE_THRESHOLD", &VehicleDefinition::engineDamageThreshold, nullptr},
    {"ENGINE_DESTROYED_THRESHOLD", &VehicleDefinition::engineDestroyedThreshold, nullptr},
    {"DAMAGE_SCALE", nullptr, &VehicleDefinition::damageScale},
};

bool StartsWith(const char* line, const char* key) {
    return strncmp(line, key, strlen(key)) == 0;
}

// The number after the key, as sscanf("KEY %d") would read it, but without its undefined behaviour on
// overflow: values beyond 32 bits are clamped.
bool ScanInteger(const char* text, int32_t& out) {
    char* end = nullptr;
    const long long v = strtoll(text, &end, 10);
    if (end == text)
        return false;
    out = int32_t(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
    return true;
}

bool ScanFloat(const char* text, float& out) {
    char* end = nullptr;
    const float v = strtof(text, &end);
    if (end == text)
        return false;
    out = v;
    return true;
}

bool MatchNumericKey(const char* line, VehicleDefinition& def) {
    for (const NumericKey& k : kNumericKeys) {
        if (!StartsWith(line, k.key))
            continue;
        const char* number = line + strlen(k.key);
        if (k.integer ? ScanInteger(number, def.*k.integer) : ScanFloat(number, def.*k.real))
            return true;
    }
    return false;
}

// The text after the key up to, but without, the line's last character (its line break); cut to fit.
void CopyValue(const char* line, size_t keyLength, char* out, size_t outSize) {
    const size_t length = strlen(line);
    size_t n = length > keyLength + 1 ? length - keyLength - 1 : 0;
    if (n > outSize - 1)
        n = outSize - 1;
    memcpy(out, line + keyLength, n);
    out[n] = '\0';
}

void AppendDescription(const char* line, VehicleDefinition& def) {
    const size_t used = strlen(def.description);
    const size_t room = sizeof(def.description) - 1 - used;
    strncat(def.description, line, room);
}

bool ReplaceUnusable(const char* path, const char* key, float& value, float low, float high) {
    if (std::isfinite(value) && value >= low && value <= high)
        return false;
    const float replacement = std::isfinite(value) ? (value < low ? low : high) : low;
    Log("Vehicle file %s: %s %f is out of range (%g to %g), using %g", path, key, value, double(low),
        double(high), double(replacement));
    value = replacement;
    return true;
}

}  // namespace

void ParseVehicleFile(FILE* file, const char* path, VehicleDefinition& def) {
    int count = 0;
    bool inDescription = false;
    char line[kLineBufferSize];
    while (ReadScriptLine(file, line)) {
        if (inDescription) {
            AppendDescription(line, def);
            continue;
        }
        if (MatchNumericKey(line, def)) {
            count++;
        } else if (StartsWith(line, "NAME")) {
            CopyValue(line, 4, def.name, sizeof(def.name));
            count++;
        } else if (StartsWith(line, "ENGINE")) {
            CopyValue(line, 6, def.engine, sizeof(def.engine));
            count++;
        }
        if (strcmp(line, "DESCRIPTION\n") == 0) {
            count++;
            inDescription = true;
        }
    }
    if (count != kVehicleSettingCount)
        Log("Vehicle file %s had format error: Too few settings specified (%d of %d).", path, count,
            kVehicleSettingCount);
}

int SanitizeVehicle(const char* path, VehicleDefinition& def) {
    constexpr float kHuge = 1.0e6f;
    // Far beyond any vehicle (3600 km/h), and it keeps the steps of one frame countable.
    constexpr float kMaxSpeedLimit = 500.0f;
    int replaced = 0;
    replaced += ReplaceUnusable(path, "THRUST_POWER", def.thrustPower, 0.0f, kHuge);
    replaced += ReplaceUnusable(path, "BRAKE_POWER", def.brakePower, 0.0f, kHuge);
    replaced += ReplaceUnusable(path, "TURN_POWER", def.turnPower, 0.0f, kHuge);
    replaced += ReplaceUnusable(path, "MAX_SPEED", def.maxSpeed, 0.0f, kMaxSpeedLimit);
    replaced += ReplaceUnusable(path, "MAX_TILT", def.maxTilt, 0.0f, 90.0f);
    replaced += ReplaceUnusable(path, "DAMAGE_SCALE", def.damageScale, 0.0f, kHuge);
    if (def.maxSpeed <= 0.0f)
        Log("Vehicle file %s: MAX_SPEED is 0, the vehicle cannot move", path);
    for (int32_t* money : {&def.price, &def.damagePrice}) {
        if (*money < 0) {
            Log("Vehicle file %s: negative price %d, using 0", path, *money);
            *money = 0;
            replaced++;
        }
    }
    return replaced;
}

bool ReadVehicleFile(const char* path, VehicleDefinition& def) {
    FILE* file = OpenGameFile(path, "r");
    if (!file) {
        Log("Failed to load %s", path);
        return false;
    }
    ParseVehicleFile(file, path, def);
    fclose(file);
    SanitizeVehicle(path, def);
    return true;
}

void LoadVehicles(TextureManager* textures, CCamera* camera) {
    ReleaseVehicles();
    for (int n = 1; n <= kNumVehicles; ++n) {
        VehicleDefinition& def = gVehicles[n - 1];
        def = VehicleDefinition{};
        char path[64];
        snprintf(path, sizeof(path), "../Scripts/vehicle%d.txt", n);
        if (!ReadVehicleFile(path, def))
            continue;
        char modelPath[64];
        snprintf(modelPath, sizeof(modelPath), "../Models/vehicle%d.ms3d", n);
        def.model = new CMilkshapeModel();
        def.model->Load(modelPath);
        if (textures)
            def.renderObject = new RenderModel(textures, camera, def.model, MODEL_KEEP_TEXTURES);
    }
}

void ReleaseVehicles() {
    for (VehicleDefinition& def : gVehicles) {
        delete def.renderObject;
        def.renderObject = nullptr;
        delete def.model;
        def.model = nullptr;
    }
}

int SelectedVehicleIndex() {
    if (gSelectedVehicle < 0 || gSelectedVehicle >= kNumVehicles) {
        Log("Selected vehicle %d does not exist, using vehicle 1", gSelectedVehicle + 1);
        gSelectedVehicle = 0;
    }
    return gSelectedVehicle;
}

const VehicleDefinition& SelectedVehicleDefinition() {
    return gVehicles[SelectedVehicleIndex()];
}
