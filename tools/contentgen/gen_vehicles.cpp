// The four vehicles: their scripts, models and liveries. Handling differs in ways a player feels: the
// Hornet is forgiving, the Kestrel quick and fragile, the Bulwark slow to turn but hard to break, the
// Zephyr fastest of all.
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "contentgen.h"
#include "filewriter.h"
#include "imagewriter.h"
#include "meshbuilder.h"
#include "ms3dwriter.h"
#include "pattern.h"

namespace {

struct VehicleSpec {
    const char* name;
    const char* engine;
    const char* description;
    int price, damagePrice, weight, horsePower;
    float thrust, brake, turn, maxSpeed, maxTilt;
    int damageThreshold, destroyedThreshold;
    float damageScale;
    // Shape: the top-view outline (x, z), nose towards -z, and the hull's height.
    std::vector<std::pair<float, float>> outline;
    float hullHeight;
    float finHeight;
    Rgb paint, stripe;
};

const VehicleSpec kVehicles[4] = {
    {"Hornet", "Twin ducted fans, 240 kW",
     "A forgiving all-rounder.\nSteady under thrust, gentle in the turns\nand tough enough to learn on.\n",
     0, 20, 850, 320, 10.0f, 14.0f, 1.8f, 25.0f, 35.0f, 50, 100, 0.04f,
     {{0.0f, -1.4f}, {0.55f, -0.2f}, {0.9f, 0.9f}, {-0.9f, 0.9f}, {-0.55f, -0.2f}}, 0.45f, 0.5f,
     {230, 180, 40}, {40, 40, 40}},
    {"Kestrel", "Afterburning turbojet, 340 kW",
     "Light, quick and nervous.\nIt turns on a coin and hits top speed early,\nbut every scrape shows.\n",
     18000, 35, 700, 450, 15.0f, 18.0f, 2.4f, 32.0f, 42.0f, 45, 100, 0.05f,
     {{0.0f, -1.6f}, {0.3f, -0.6f}, {1.2f, 0.7f}, {0.4f, 0.9f}, {-0.4f, 0.9f}, {-1.2f, 0.7f}, {-0.3f, -0.6f}},
     0.35f, 0.6f, {60, 120, 210}, {235, 235, 245}},
    {"Bulwark", "Armoured lift rotor, 450 kW",
     "A flying strongbox.\nSlow to change its mind in a turn,\nbut it shrugs off knocks that wreck the rest.\n",
     32000, 45, 1600, 600, 12.0f, 12.0f, 1.3f, 30.0f, 28.0f, 70, 100, 0.018f,
     {{-0.5f, -1.5f}, {0.5f, -1.5f}, {1.0f, -0.8f}, {1.0f, 1.1f}, {-1.0f, 1.1f}, {-1.0f, -0.8f}}, 0.7f, 0.3f,
     {110, 120, 90}, {200, 90, 30}},
    {"Zephyr", "Fusion ramjet, 670 kW",
     "The fastest thing on the circuit.\nBrutal thrust and sharp brakes;\nkeep it off the walls.\n",
     65000, 80, 950, 900, 20.0f, 24.0f, 2.2f, 42.0f, 40.0f, 55, 100, 0.035f,
     {{0.0f, -1.9f}, {0.25f, -1.0f}, {1.1f, 0.5f}, {1.1f, 1.0f}, {-1.1f, 1.0f}, {-1.1f, 0.5f}, {-0.25f, -1.0f}},
     0.4f, 0.7f, {180, 30, 40}, {250, 250, 250}},
};

constexpr float kSpeedToKmh = 7.2f;  // what the HUD shows for one unit per second

std::string Script(const VehicleSpec& v) {
    char buf[2048];
    snprintf(buf, sizeof(buf),
             "NAME %s\nENGINE %s\nPRICE %d\nDAMAGEPRICE %d\nWEIGHT %d\nHORSE_POWER %d\nTOP_SPEED %d\n"
             "THRUST_POWER %f\nBRAKE_POWER %f\nTURN_POWER %f\nMAX_SPEED %f\nMAX_TILT %f\n"
             "ENGINE_DAMAGE_THRESHOLD %d\nENGINE_DESTROYED_THRESHOLD %d\nDAMAGE_SCALE %f\nDESCRIPTION\n%s",
             v.name, v.engine, v.price, v.damagePrice, v.weight, v.horsePower, int(v.maxSpeed * kSpeedToKmh),
             v.thrust, v.brake, v.turn, v.maxSpeed, v.maxTilt, v.damageThreshold, v.destroyedThreshold,
             v.damageScale, v.description);
    return buf;
}

// Paint with a stripe down the middle and a little grime.
RgbImage Livery(const VehicleSpec& v, uint32_t seed) {
    constexpr int kSize = 128;
    RgbImage image(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const bool stripe = x > 54 && x < 74;
            const Rgb base = stripe ? v.stripe : v.paint;
            const float grime = FractalNoise(x / 16.0f, y / 16.0f, seed, 3);
            const Rgb c = Mix(base, {base.r * 0.6f, base.g * 0.6f, base.b * 0.6f}, grime * 0.5f);
            image.Set(x, y, uint8_t(c.r), uint8_t(c.g), uint8_t(c.b));
        }
    }
    image.Fill(0, 0, kSize, 4, 20, 20, 20);  // panel seam
    return image;
}

CMilkshapeModel Model(const VehicleSpec& v, const std::string& texture) {
    CMilkshapeModel model;
    MeshBuilder mesh(model);
    MaterialSpec paint;
    paint.name = "paint";
    paint.texture = texture;
    paint.specular[0] = paint.specular[1] = paint.specular[2] = 0.4f;
    paint.shininess = 32.0f;
    mesh.BeginGroup("hull", mesh.AddMaterial(paint));
    mesh.AddExtrusion(v.outline, 0.0f, v.hullHeight);
    // Canopy, the tail fin and two engine pods.
    mesh.AddBox({-0.25f, v.hullHeight, -0.6f}, {0.25f, v.hullHeight + 0.25f, 0.2f});
    mesh.AddBox({-0.04f, v.hullHeight, 0.4f}, {0.04f, v.hullHeight + v.finHeight, 0.9f});
    for (float side : {-1.0f, 1.0f})
        mesh.AddBox({side * 0.75f - 0.15f, 0.05f, 0.3f}, {side * 0.75f + 0.15f, 0.35f, 1.05f});
    return model;
}

}  // namespace

bool GenerateVehicles(const std::string& root) {
    bool ok = true;
    for (int i = 0; i < 4; ++i) {
        const VehicleSpec& v = kVehicles[i];
        const int n = i + 1;
        const std::string text = Script(v);
        ok = WriteBytes(root + "/Scripts/vehicle" + std::to_string(n) + ".txt",
                        std::vector<uint8_t>(text.begin(), text.end())) && ok;
        const std::string texture = "vehicle" + std::to_string(n) + ".jpg";
        ok = WriteJpeg(root + "/Textures/" + texture, Livery(v, 1000u + uint32_t(n))) && ok;
        ok = WriteMs3d(root + "/Models/vehicle" + std::to_string(n) + ".ms3d", Model(v, "../Textures/" + texture)) &&
             ok;
    }
    return ok;
}
