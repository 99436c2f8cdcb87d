// The four vehicles: their scripts, models and liveries. Handling differs in ways a player feels: the
// Hornet is forgiving, the Kestrel quick and fragile, the Bulwark slow to turn but hard to break, the
// Zephyr fastest of all.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/gamedefs.h"
#include "contentgen.h"
#include "filewriter.h"
#include "imagewriter.h"
#include "meshbuilder.h"
#include "ms3dwriter.h"
#include "pattern.h"

namespace {

// A body along z, widest where its nose ends, cut off flat at the tail.
struct Body {
    float z0, z1, y;
    float halfWidth, halfHeight, squareness;
    float nose;       // the fraction of the length over which it widens
    float bluntness;  // its size at the very front, a fraction of the widest (0: a point)
    float tail;       // its size at the back, the same way
};

// A bubble canopy from z0 to z1 on a body whose top lies at y.
struct CanopyShape {
    float z0, z1, y;
    float halfWidth, height, squareness;
};

// A glowing nozzle at the tail; none when its radius is 0.
struct TailExhaust {
    float y, z, radius, flame;
};

struct Hull;

struct VehicleSpec {
    const char* name;
    const char* engine;
    const char* description;
    int price, damagePrice, weight, horsePower;
    float thrust, brake, turn, maxSpeed, maxTilt;
    int damageThreshold, destroyedThreshold;
    float damageScale;
    // The model's extent, nose towards -z: the chase view and the fly-overs are framed for it.
    Vec3 min, max;
    Body body;
    CanopyShape canopy;
    TailExhaust exhaust;
    void (*shape)(Hull&);  // everything else the vehicle has
    Rgb paint, stripe;
    float glow[3];  // the exhausts' colour
};

void HornetShape(Hull& h);
void KestrelShape(Hull& h);
void BulwarkShape(Hull& h);
void ZephyrShape(Hull& h);

const VehicleSpec kVehicles[] = {
    {"Hornet", "Twin ducted fans, 240 kW",
     "A forgiving all-rounder.\nSteady under thrust, gentle in the turns\nand tough enough to learn on.\n",
     0, 20, 850, 320, 10.0f, 14.0f, 1.8f, 25.0f, 35.0f, 50, 100, 0.04f,
     {-0.9f, 0.0f, -1.4f}, {0.9f, 0.95f, 1.05f},
     {-1.4f, 0.98f, 0.42f, 0.4f, 0.3f, 2.5f, 0.5f, 0.0f, 0.35f}, {-0.8f, 0.35f, 0.62f, 0.22f, 0.2f, 2.2f},
     {0.42f, 0.98f, 0.1f, 0.05f}, HornetShape, {230, 180, 40}, {40, 40, 40}, {1.0f, 0.6f, 0.2f}},
    {"Kestrel", "Afterburning turbojet, 340 kW",
     "Light, quick and nervous.\nIt turns on a coin and hits top speed early,\nbut every scrape shows.\n",
     18000, 35, 700, 450, 15.0f, 18.0f, 2.4f, 32.0f, 42.0f, 45, 100, 0.05f,
     {-1.2f, 0.0f, -1.6f}, {1.2f, 0.95f, 1.05f},
     {-1.6f, 0.92f, 0.35f, 0.3f, 0.24f, 2.3f, 0.5f, 0.0f, 0.67f}, {-1.05f, 0.05f, 0.5f, 0.17f, 0.17f, 2.0f},
     {0.35f, 1.0f, 0.14f, 0.05f}, KestrelShape, {60, 120, 210}, {235, 235, 245}, {1.0f, 0.45f, 0.15f}},
    {"Bulwark", "Armoured lift rotor, 450 kW",
     "A flying strongbox.\nSlow to change its mind in a turn,\nbut it shrugs off knocks that wreck the rest.\n",
     32000, 45, 1600, 600, 12.0f, 12.0f, 1.3f, 30.0f, 28.0f, 70, 100, 0.018f,
     {-1.0f, 0.0f, -1.5f}, {1.0f, 1.0f, 1.1f},
     {-1.5f, 1.0f, 0.5f, 0.72f, 0.36f, 5.0f, 0.36f, 0.62f, 0.89f}, {-1.3f, -0.7f, 0.76f, 0.55f, 0.1f, 6.0f},
     {0.0f, 0.0f, 0.0f, 0.0f}, BulwarkShape, {110, 120, 90}, {200, 90, 30}, {1.0f, 0.75f, 0.3f}},
    {"Zephyr", "Fusion ramjet, 670 kW",
     "The fastest thing on the circuit.\nBrutal thrust and sharp brakes;\nkeep it off the walls.\n",
     65000, 80, 950, 900, 20.0f, 24.0f, 2.2f, 42.0f, 40.0f, 55, 100, 0.035f,
     {-1.1f, 0.0f, -1.9f}, {1.1f, 1.1f, 1.05f},
     {-1.9f, 0.88f, 0.33f, 0.36f, 0.22f, 2.6f, 0.6f, 0.0f, 0.61f}, {-1.2f, -0.15f, 0.45f, 0.2f, 0.15f, 2.0f},
     {0.33f, 0.95f, 0.11f, 0.08f}, ZephyrShape, {180, 30, 40}, {250, 250, 250}, {0.45f, 0.8f, 1.0f}},
};
static_assert(sizeof(kVehicles) / sizeof(kVehicles[0]) == kNumVehicles, "one design for every vehicle of the game");

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

// A hull is built part by part, each part in the group of its material: livery, dark metal, glass and the
// glowing exhausts.
struct Hull {
    MeshBuilder& mesh;
    int paint, metal, glass, glow;

    void Paint() { mesh.BeginGroup("hull", paint); }
    void Metal() { mesh.BeginGroup("trim", metal); }
    void Glass() { mesh.BeginGroup("canopy", glass); }
    void Glow() { mesh.BeginGroup("exhaust", glow); }
};

constexpr int kSides = 16;

// A round section.
LoftSection Ring(float z, float x, float y, float r) {
    return {z, x, y, r, r, 2.0f};
}

// A plate and its mirror image across x = 0.
void MirroredPlates(MeshBuilder& m, const Vec3 (&c)[4], const Vec3& thickness) {
    m.AddPlate(c, thickness);
    const Vec3 mirrored[4] = {{-c[0].x, c[0].y, c[0].z}, {-c[1].x, c[1].y, c[1].z}, {-c[2].x, c[2].y, c[2].z},
                              {-c[3].x, c[3].y, c[3].z}};
    m.AddPlate(mirrored, thickness);
}

// A glowing nozzle disc with a short flame cone behind it, facing +z.
void Exhaust(Hull& h, float x, float y, float z, float r, float flame) {
    h.mesh.AddLoft({Ring(z, x, y, r), Ring(z + flame * 0.4f, x, y, r * 0.7f), Ring(z + flame, x, y, 0.0f)}, kSides);
}

// A ducted fan along z: an open ring with a lining, a hub and six blades; its glow sits inside at the back.
void DuctedFan(Hull& h, float x, float y, float z0, float z1, float r) {
    const float inner = r * 0.8f, lip = (z1 - z0) * 0.15f;
    h.Paint();
    h.mesh.AddLoft({Ring(z0, x, y, inner), Ring(z0 + lip, x, y, r), Ring(z1 - lip, x, y, r), Ring(z1, x, y, inner * 1.05f)},
                   kSides, false);
    h.Metal();
    h.mesh.AddLoft({Ring(z1, x, y, inner * 1.05f), Ring(z0, x, y, inner)}, kSides, false);
    const float mid = (z0 + z1) * 0.5f;
    h.mesh.AddLoft({Ring(mid - 0.12f, x, y, 0.0f), Ring(mid - 0.04f, x, y, inner * 0.3f), Ring(mid + 0.08f, x, y, inner * 0.3f)},
                   8);
    for (int k = 0; k < 6; ++k) {
        const float a = float(k) * 1.0472f, c = std::cos(a), sn = std::sin(a);
        const Vec3 along{-sn * 0.03f, c * 0.03f, 0.0f};
        const Vec3 root{x + c * inner * 0.25f, y + sn * inner * 0.25f, mid}, tip{x + c * inner * 0.95f, y + sn * inner * 0.95f, mid};
        const Vec3 blade[4] = {root - along, tip - along, tip + along, root + along};
        h.mesh.AddPlate(blade, {0.0f, 0.0f, 0.02f});
    }
    h.Glow();
    h.mesh.AddLoft({Ring(z1 - lip * 2.0f, x, y, inner * 0.9f), Ring(z1 - lip * 1.9f, x, y, inner * 0.9f)}, kSides);
}

// A rounded pod along z with a pointed front and a glowing nozzle.
void Pod(Hull& h, float x, float y, float z0, float z1, float r, float flame) {
    h.Metal();
    h.mesh.AddLoft({Ring(z0, x, y, 0.0f), Ring(z0 + r, x, y, r * 0.45f)}, kSides, false);
    h.Paint();
    h.mesh.AddLoft({Ring(z0 + r, x, y, r * 0.45f), Ring(z0 + r * 1.2f, x, y, r * 0.95f), Ring(z0 + r * 2.0f, x, y, r),
                    Ring(z1 - r, x, y, r), Ring(z1, x, y, r * 0.75f)},
                   kSides);
    h.Glow();
    Exhaust(h, x, y, z1, r * 0.6f, flame);
}

void Canopy(Hull& h, const CanopyShape& c) {
    const float l = c.z1 - c.z0, w = c.halfWidth, e = c.squareness;
    h.Glass();
    h.mesh.AddLoft({{c.z0, 0.0f, c.y, 0.0f, 0.0f, e},
                    {c.z0 + l * 0.2f, 0.0f, c.y, w * 0.8f, c.height * 0.7f, e},
                    {c.z0 + l * 0.55f, 0.0f, c.y, w, c.height, e},
                    {c.z0 + l * 0.85f, 0.0f, c.y, w * 0.8f, c.height * 0.6f, e},
                    {c.z1, 0.0f, c.y, 0.0f, 0.0f, e}},
                   kSides);
}


void Fuselage(Hull& h, const Body& b) {
    const float fractions[6][2] = {{0.0f, b.bluntness}, {b.nose * 0.15f, std::max(b.bluntness, 0.35f)},
                                   {b.nose * 0.5f, std::max(b.bluntness, 0.75f)}, {b.nose, 1.0f},
                                   {0.8f, 0.95f}, {1.0f, b.tail}};
    std::vector<LoftSection> sections;
    for (const auto& f : fractions)
        sections.push_back({b.z0 + (b.z1 - b.z0) * f[0], 0.0f, b.y, b.halfWidth * f[1], b.halfHeight * f[1], b.squareness});
    h.Paint();
    h.mesh.AddLoft(sections, kSides);
}

// The free all-rounder: a round body between two ducted fans, a bubble canopy, twin tail fins and skids.
void HornetShape(Hull& h) {
    MeshBuilder& m = h.mesh;
    const Vec3 pylon[4] = {{0.3f, 0.45f, 0.55f}, {0.4f, 0.45f, 0.55f}, {0.4f, 0.45f, 0.25f}, {0.3f, 0.45f, 0.25f}};
    MirroredPlates(m, pylon, {0.0f, 0.06f, 0.0f});
    const Vec3 fin[4] = {{0.16f, 0.62f, 0.5f}, {0.16f, 0.62f, 0.95f}, {0.3f, 0.95f, 1.05f}, {0.3f, 0.95f, 0.82f}};
    MirroredPlates(m, fin, {0.04f, 0.0f, 0.0f});
    for (float side : {-1.0f, 1.0f})
        DuctedFan(h, side * 0.62f, 0.45f, 0.15f, 0.75f, 0.28f);
    h.Metal();
    for (float side : {-1.0f, 1.0f}) {
        m.AddBox({side * 0.3f - 0.04f, 0.0f, -0.7f}, {side * 0.3f + 0.04f, 0.05f, 0.5f});
        m.AddBox({side * 0.3f - 0.02f, 0.05f, -0.45f}, {side * 0.3f + 0.02f, 0.2f, -0.4f});
        m.AddBox({side * 0.3f - 0.02f, 0.05f, 0.25f}, {side * 0.3f + 0.02f, 0.2f, 0.3f});
    }
}

// The quick one: a needle nose, swept delta wings with canards, one tall fin and an afterburner.
void KestrelShape(Hull& h) {
    MeshBuilder& m = h.mesh;
    const Vec3 wing[4] = {{0.25f, 0.3f, 0.85f}, {1.2f, 0.24f, 0.95f}, {1.2f, 0.24f, 0.7f}, {0.25f, 0.3f, -0.55f}};
    MirroredPlates(m, wing, {0.0f, 0.04f, 0.0f});
    const Vec3 canard[4] = {{0.15f, 0.36f, -0.7f}, {0.5f, 0.36f, -0.6f}, {0.5f, 0.36f, -0.68f}, {0.15f, 0.36f, -1.0f}};
    MirroredPlates(m, canard, {0.0f, 0.03f, 0.0f});
    const Vec3 fin[4] = {{0.0f, 0.5f, 0.2f}, {0.0f, 0.5f, 0.92f}, {0.0f, 0.95f, 1.0f}, {0.0f, 0.95f, 0.8f}};
    m.AddPlate(fin, {0.04f, 0.0f, 0.0f});
    h.Metal();
    const Vec3 strake[4] = {{0.12f, 0.16f, 0.3f}, {0.12f, 0.16f, 0.85f}, {0.14f, 0.0f, 0.85f}, {0.14f, 0.0f, 0.65f}};
    MirroredPlates(m, strake, {0.03f, 0.0f, 0.0f});
    for (float side : {-1.0f, 1.0f})
        m.AddLoft({{-0.35f, side * 0.28f, 0.3f, 0.07f, 0.1f, 4.0f}, {0.25f, side * 0.28f, 0.3f, 0.08f, 0.11f, 4.0f}}, 8);
    m.AddLoft({Ring(0.9f, 0.0f, 0.35f, 0.21f), Ring(1.0f, 0.0f, 0.35f, 0.17f)}, kSides);
}

// The strongbox: a square armoured hull on two pontoons, a slit visor, the lift rotor's housing on top and two
// broad exhausts.
void BulwarkShape(Hull& h) {
    MeshBuilder& m = h.mesh;
    const Vec3 fin[4] = {{0.62f, 0.8f, 0.5f}, {0.62f, 0.8f, 0.98f}, {0.7f, 1.0f, 1.02f}, {0.7f, 1.0f, 0.8f}};
    MirroredPlates(m, fin, {0.05f, 0.0f, 0.0f});
    h.Metal();
    for (float side : {-1.0f, 1.0f})
        m.AddLoft({{-1.3f, side * 0.8f, 0.18f, 0.08f, 0.06f, 4.0f},
                   {-1.1f, side * 0.8f, 0.17f, 0.2f, 0.17f, 4.0f},
                   {0.85f, side * 0.8f, 0.17f, 0.2f, 0.17f, 4.0f},
                   {1.0f, side * 0.8f, 0.18f, 0.14f, 0.1f, 4.0f}},
                  kSides);
    m.AddCylinder({0.0f, 0.84f, 0.25f}, 0.45f, 0.1f, kSides, true);
    m.AddBox({-0.05f, 0.94f, 0.2f}, {0.05f, 0.98f, 0.3f});
    for (int k = 0; k < 3; ++k) {
        const float a = float(k) * 1.0472f, c = std::cos(a), sn = std::sin(a);
        const Vec3 along{c * 0.42f, 0.0f, sn * 0.42f}, across{-sn * 0.05f, 0.0f, c * 0.05f}, hub{0.0f, 0.96f, 0.25f};
        const Vec3 blade[4] = {hub - along - across, hub + along - across, hub + along + across, hub - along + across};
        m.AddPlate(blade, {0.0f, 0.02f, 0.0f});
    }
    for (float side : {-1.0f, 1.0f})
        m.AddLoft({{0.8f, side * 0.42f, 0.5f, 0.2f, 0.14f, 4.0f}, {1.05f, side * 0.42f, 0.5f, 0.2f, 0.14f, 4.0f}},
                  kSides);
    h.Glow();
    for (float side : {-1.0f, 1.0f})
        m.AddLoft({{1.05f, side * 0.42f, 0.5f, 0.16f, 0.1f, 4.0f}, {1.1f, side * 0.42f, 0.5f, 0.1f, 0.06f, 4.0f}},
                  kSides);
}

// The fastest: a long low body, slim wings out to two ramjet pods, fins canted up from the pods.
void ZephyrShape(Hull& h) {
    MeshBuilder& m = h.mesh;
    const Vec3 wing[4] = {{0.3f, 0.32f, 0.55f}, {0.8f, 0.32f, 0.7f}, {0.8f, 0.32f, 0.25f}, {0.3f, 0.32f, -0.3f}};
    MirroredPlates(m, wing, {0.0f, 0.04f, 0.0f});
    const Vec3 fin[4] = {{0.9f, 0.48f, 0.35f}, {0.9f, 0.48f, 0.9f}, {1.04f, 1.1f, 1.0f}, {1.04f, 1.1f, 0.8f}};
    MirroredPlates(m, fin, {0.04f, 0.0f, 0.0f});
    for (float side : {-1.0f, 1.0f})
        Pod(h, side * 0.92f, 0.32f, -0.6f, 0.95f, 0.18f, 0.1f);
    h.Metal();
    const Vec3 keel[4] = {{0.0f, 0.14f, -0.4f}, {0.0f, 0.14f, 0.6f}, {0.0f, 0.0f, 0.55f}, {0.0f, 0.0f, 0.2f}};
    m.AddPlate(keel, {0.04f, 0.0f, 0.0f});
    m.AddLoft({Ring(0.85f, 0.0f, 0.33f, 0.18f), Ring(0.95f, 0.0f, 0.33f, 0.14f)}, kSides);
}

// The parts that are not livery take their colour from a swatch texture, with white materials: the race
// lights models with their colour tracking glColor (white) and its lit pass always samples a texture, so
// colour kept in a material alone shows white in one frame and black in the other.
struct Swatch {
    const char* name;
    uint8_t r, g, b;
};
const Swatch kMetal = {"vehicle_metal.bmp", 56, 56, 60};
const Swatch kGlass = {"vehicle_glass.bmp", 20, 36, 61};

std::string GlowSwatch(int n) {
    return "vehicle" + std::to_string(n) + "_glow.bmp";
}

// A shiny material of the default white, coloured by its texture.
MaterialSpec Shiny(const char* name, const std::string& texture, float specular, float shininess) {
    MaterialSpec m;
    m.name = name;
    m.texture = "../Textures/" + texture;
    for (int k = 0; k < 3; ++k)
        m.specular[k] = specular;
    m.shininess = shininess;
    return m;
}

CMilkshapeModel Model(const VehicleSpec& v, int n) {
    CMilkshapeModel model;
    MeshBuilder mesh(model);
    const MaterialSpec paint = Shiny("paint", "vehicle" + std::to_string(n) + ".jpg", 0.4f, 32.0f);
    const MaterialSpec metal = Shiny("metal", kMetal.name, 0.5f, 48.0f);
    const MaterialSpec glass = Shiny("glass", kGlass.name, 0.9f, 90.0f);
    MaterialSpec glow;  // lit or not, as bright as its swatch
    glow.name = "glow";
    glow.texture = "../Textures/" + GlowSwatch(n);
    for (int k = 0; k < 3; ++k) {
        glow.ambient[k] = glow.diffuse[k] = 0.0f;
        glow.emissive[k] = 1.0f;
    }
    Hull hull{mesh, mesh.AddMaterial(paint), mesh.AddMaterial(metal), mesh.AddMaterial(glass), mesh.AddMaterial(glow)};
    Fuselage(hull, v.body);
    v.shape(hull);
    Canopy(hull, v.canopy);
    if (v.exhaust.radius > 0.0f) {
        hull.Glow();
        Exhaust(hull, 0.0f, v.exhaust.y, v.exhaust.z, v.exhaust.radius, v.exhaust.flame);
    }
    FitToBox(model, v.min, v.max);
    return model;
}

}  // namespace

bool GenerateVehicles(const std::string& root) {
    bool ok = true;
    for (int i = 0; i < kNumVehicles; ++i) {
        const VehicleSpec& v = kVehicles[i];
        const int n = i + 1;
        const std::string text = Script(v);
        ok = WriteBytes(root + "/Scripts/vehicle" + std::to_string(n) + ".txt",
                        std::vector<uint8_t>(text.begin(), text.end())) && ok;
        ok = WriteJpeg(root + "/Textures/vehicle" + std::to_string(n) + ".jpg", Livery(v, 1000u + uint32_t(n))) && ok;
        const RgbImage glow(8, 8, uint8_t(v.glow[0] * 255.0f), uint8_t(v.glow[1] * 255.0f), uint8_t(v.glow[2] * 255.0f));
        ok = WriteBmp(root + "/Textures/" + GlowSwatch(n), glow) && ok;
        ok = WriteMs3d(root + "/Models/vehicle" + std::to_string(n) + ".ms3d", Model(v, n)) && ok;
    }
    for (const Swatch& s : {kMetal, kGlass})
        ok = WriteBmp(root + "/Textures/" + s.name, RgbImage(8, 8, s.r, s.g, s.b)) && ok;
    return ok;
}
