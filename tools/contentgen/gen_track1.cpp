// Track 1, "Dust Canyon": a sandstone canyon with rock arches overhead under a glass roof, from a start pad
// to a finish gate 600 units on. It swings three times from side to side in gentle bends, so a pilot has to steer.
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "contentgen.h"
#include "filewriter.h"
#include "imagewriter.h"
#include "meshbuilder.h"
#include "ms3dwriter.h"
#include "pattern.h"
#include "trackdesign.h"

namespace {

constexpr float kStartZ = 30.0f;   // the canyon's closed end behind the start
constexpr float kEndZ = -630.0f;   // and beyond the goal
constexpr float kGoalZ = kTrack1GoalZ;  // the finish gate
constexpr float kSegment = 5.0f;   // wall quads along the canyon
constexpr float kCell = 4.0f;      // floor cells
// Floor chunks, so distance culling drops what is out of sight.
const float kChunkEdges[] = {kStartZ, -130.0f, -290.0f, -450.0f, kEndZ};
// Rows of a wall, bottom (below the floor) to rim.
const float kWallRows[] = {-1.0f, 4.0f, 10.0f, 18.0f, 28.0f};

// Half the canyon's width at floor level: between 10 and 18 units.
float HalfWidth(float z) {
    return 14.0f + 4.0f * std::sin(z / 35.0f);
}

// A point of the wall on side -1 (left) or +1 (right): it leans out with height and is rough.
Vec3 WallPoint(float side, float y, float z) {
    const float rough = 1.6f * FractalNoise(z / 7.0f + (side > 0 ? 50.0f : 0.0f), y / 5.0f, 77, 3);
    return {Track1CentreX(z) + side * (HalfWidth(z) + 0.3f * (y + 1.0f) + rough), y, z};
}

float FloorHeight(float x, float z) {
    const float ridge = std::max(std::fabs(x - Track1CentreX(z)) - 9.0f, 0.0f) * 0.35f;  // rises towards the walls
    return 0.7f * FractalNoise(x / 9.0f, z / 9.0f, 31, 3) + ridge;
}

void AddWalls(MeshBuilder& mesh, float zFrom, float zTo) {
    for (float z0 = zFrom; z0 > zTo + 0.01f; z0 -= kSegment) {
        const float z1 = std::max(z0 - kSegment, zTo);
        for (size_t r = 0; r + 1 < sizeof(kWallRows) / sizeof(kWallRows[0]); ++r) {
            const float y0 = kWallRows[r], y1 = kWallRows[r + 1];
            // Counter-clockwise seen from inside the canyon.
            mesh.AddQuad(WallPoint(-1, y0, z0), WallPoint(-1, y0, z1), WallPoint(-1, y1, z1), WallPoint(-1, y1, z0));
            mesh.AddQuad(WallPoint(1, y0, z1), WallPoint(1, y0, z0), WallPoint(1, y1, z0), WallPoint(1, y1, z1));
        }
    }
}

// The glass roof from rim to rim, facing down into the canyon.
void AddRoof(MeshBuilder& mesh, float zFrom, float zTo) {
    const float rim = kWallRows[sizeof(kWallRows) / sizeof(kWallRows[0]) - 1];
    for (float z0 = zFrom; z0 > zTo + 0.01f; z0 -= kSegment) {
        const float z1 = std::max(z0 - kSegment, zTo);
        mesh.AddQuad(WallPoint(-1, rim, z0), WallPoint(-1, rim, z1), WallPoint(1, rim, z1), WallPoint(1, rim, z0));
    }
}

// A wall across the canyon at z, facing towards `facing` (+1 or -1 along z).
void AddEndWall(MeshBuilder& mesh, float z, float facing) {
    const Vec3 a{-60.0f, -1.0f, z}, b{60.0f, -1.0f, z}, c{60.0f, 30.0f, z}, d{-60.0f, 30.0f, z};
    if (facing > 0)
        mesh.AddQuad(a, b, c, d, 8.0f, 3.0f);
    else
        mesh.AddQuad(b, a, d, c, 8.0f, 3.0f);
}

MaterialSpec Material(const char* name, const std::string& texture) {
    MaterialSpec m;
    m.name = name;
    m.texture = "../Textures/" + texture;
    return m;
}

CMilkshapeModel TrackModel() {
    CMilkshapeModel model;
    MeshBuilder mesh(model);
    const int rock = mesh.AddMaterial(Material("rock", "canyon_rock.jpg"));
    MaterialSpec floor = Material("sand", "canyon_sand.jpg");
    floor.mode = kModeCastsNoShadow;  // nothing lies under the floor for it to shadow
    const int sand = mesh.AddMaterial(floor);
    const int pad = mesh.AddMaterial(Material("pad", "canyon_pad.jpg"));
    MaterialSpec curtain = Material("G", "canyon_finish.jpg");  // "G": seen but never collided with
    curtain.transparency = 0.45f;
    const int finish = mesh.AddMaterial(curtain);
    MaterialSpec glass = Material("glass", "glass.jpg");  // see-through: casts no shadow
    glass.transparency = 0.3f;
    glass.emissive[0] = glass.emissive[1] = glass.emissive[2] = 0.2f;
    const int roof = mesh.AddMaterial(glass);

    const int chunks = int(sizeof(kChunkEdges) / sizeof(kChunkEdges[0])) - 1;
    for (int c = 0; c < chunks; ++c) {
        const float zFrom = kChunkEdges[c], zTo = kChunkEdges[c + 1];
        mesh.BeginGroup("walls" + std::to_string(c), rock);
        AddWalls(mesh, zFrom, zTo);
        // Rock arches high overhead, sunk into both walls.
        for (float z = -100.0f; z > kEndZ + 40.0f; z -= 130.0f)
            if (z <= zFrom && z > zTo)
                // Short of the walls: a vehicle pushed off an end reaching through one would land outside.
                mesh.AddBox({Track1CentreX(z) - HalfWidth(z) - 4.5f, 15.0f + 2.0f * std::sin(z), z - 3.0f},
                            {Track1CentreX(z) + HalfWidth(z) + 4.5f, 19.0f, z + 3.0f}, 2.0f);
        mesh.BeginGroup("floor" + std::to_string(c), sand);
        mesh.AddTerrain({-56.0f, 0.0f, zTo}, 28, int((zFrom - zTo) / kCell), kCell, FloorHeight, 4.0f);
        mesh.BeginGroup("roof" + std::to_string(c), roof);
        AddRoof(mesh, zFrom, zTo);
    }
    mesh.BeginGroup("ends", rock);
    AddEndWall(mesh, kStartZ, -1.0f);
    AddEndWall(mesh, kEndZ, 1.0f);
    // Boulders along the sides, clear of the middle.
    for (int i = 0; i < 14; ++i) {
        const float z = -40.0f - 42.0f * float(i);
        const float side = (i % 2) ? 1.0f : -1.0f;
        const float x = Track1CentreX(z) + side * (HalfWidth(z) - 3.0f);
        mesh.AddCylinder({x, -0.5f, z}, 1.5f + float(i % 3) * 0.5f, 3.0f + float(i % 4), 7, true);
    }
    // Gate posts and lintel at the finish.
    for (float side : {-1.0f, 1.0f})
        mesh.AddBox({side * 11.0f - 1.0f, -1.0f, kGoalZ - 1.0f}, {side * 11.0f + 1.0f, 14.0f, kGoalZ + 1.0f});
    mesh.AddBox({-12.0f, 14.0f, kGoalZ - 1.0f}, {12.0f, 16.0f, kGoalZ + 1.0f}, 4.0f);

    mesh.BeginGroup("startpad", pad);
    mesh.AddBox({-3.0f, -0.7f, -3.0f}, {3.0f, 0.3f, 3.0f});
    mesh.BeginGroup("finish", finish);
    mesh.AddQuad({-10.0f, 0.0f, kGoalZ}, {10.0f, 0.0f, kGoalZ}, {10.0f, 14.0f, kGoalZ}, {-10.0f, 14.0f, kGoalZ}, 5.0f,
                 3.5f);
    return model;
}

// A box around the eye, faces turned inwards: sandy haze at the horizon fading to deep blue.
CMilkshapeModel SkyModel() {
    CMilkshapeModel model;
    MeshBuilder mesh(model);
    constexpr float s = 90.0f;
    mesh.BeginGroup("sides", mesh.AddMaterial(Material("sky", "sky1_side.jpg")));
    const Vec3 corners[4] = {{-s, 0, -s}, {s, 0, -s}, {s, 0, s}, {-s, 0, s}};
    for (int i = 0; i < 4; ++i) {
        const Vec3 a = corners[i], b = corners[(i + 1) % 4];
        mesh.AddQuad({a.x, -s, a.z}, {b.x, -s, b.z}, {b.x, s, b.z}, {a.x, s, a.z});
    }
    mesh.BeginGroup("top", mesh.AddMaterial(Material("skytop", "sky1_top.jpg")));
    mesh.AddQuad({-s, s, -s}, {s, s, -s}, {s, s, s}, {-s, s, s});
    mesh.BeginGroup("bottom", mesh.AddMaterial(Material("skybottom", "sky1_bottom.jpg")));
    mesh.AddQuad({-s, -s, s}, {s, -s, s}, {s, -s, -s}, {-s, -s, -s});
    return model;
}

const Rgb kHaze{200, 174, 140};
const Rgb kZenith{60, 100, 170};

RgbImage SkySide() {
    RgbImage image(64, 256);
    for (int y = 0; y < 256; ++y) {
        // Top row is the top of the sky; the horizon is the middle.
        const float up = std::max(0.0f, 1.0f - float(y) / 128.0f);
        for (int x = 0; x < 64; ++x) {
            const float cloud = FractalNoise(x / 16.0f, y / 8.0f, 5, 3) * 0.25f * up;
            const Rgb c = Mix(Mix(kHaze, kZenith, std::sqrt(up)), {235, 230, 225}, cloud);
            image.Set(x, y, uint8_t(c.r), uint8_t(c.g), uint8_t(c.b));
        }
    }
    return image;
}

RgbImage Checker(int size, int squares, const Rgb& a, const Rgb& b) {
    RgbImage image(size, size);
    const int cell = size / squares;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const Rgb& c = ((x / cell + y / cell) % 2) ? a : b;
            image.Set(x, y, uint8_t(c.r), uint8_t(c.g), uint8_t(c.b));
        }
    return image;
}

std::string Script() {
    return "TITLE Dust Canyon\n"
           "VEHICLE 0\n"
           "TRACK ../Models/track1.ms3d\n"
           "SKY ../Models/sky1.ms3d\n"
           "SUN 800 700 200\n"  // towards (0.8, 0.7, 0.2), about as long as AddSun writes

           "AMBIENTLIGHT 0.5 0.46 0.42\n"
           "BEGINFOG\n"
           "COLOR 0.78 0.68 0.55\n"
           "DENSITY 0.005\n"
           "ENDFOG\n"
           "BEGINLIGHT\n"
           "POSITION 0 10 -605\n"
           "COLOR 1.0 0.6 0.2\n"
           "RANGE 30\n"
           "SHADOWSENABLED 0\n"
           "ENDLIGHT\n"
           "BEGINLIGHT\n"
           "POSITION 0 6 6\n"
           "COLOR 0.4 0.6 1.0\n"
           "RANGE 15\n"
           "SHADOWSENABLED 0\n"
           "ENDLIGHT\n"
           "TIMEGOLD 28.0\n"
           "TIMESILVER 32.0\n"
           "TIMEBRONZE 40.0\n"
           "CASHGOLD 3000\n"
           "CASHSILVER 1500\n"
           "CASHBRONZE 750\n"
           "GOALZONE -14 14 -5 40 -612 -605\n"
           "STARTANIMATION\n"
           "POSITION 0 2 0\n"
           "HEADING 0\n"
           "CAMPOSITION 0 12 -40\n"
           "CAMHEADING 180\n"
           "CAMPITCH -10\n"
           "AT 0 DO SHOWTITLE 0.3 0.75 0 Dust_Canyon\n"
           "FROM 0 TO 6 DO CIRCLEY 0 0 180\n"
           "AT 6 DO STOP\n"
           "STOPANIMATION\n";
}

}  // namespace

bool GenerateTrack1(const std::string& root) {
    const std::string textures = root + "/Textures/";
    bool ok = WriteJpeg(textures + "canyon_rock.jpg", NoiseImage(256, {120, 70, 40}, {215, 150, 95}, 8.0f, 11));
    ok = WriteJpeg(textures + "canyon_sand.jpg", NoiseImage(256, {185, 150, 105}, {235, 205, 150}, 16.0f, 12)) && ok;
    ok = WriteJpeg(textures + "canyon_pad.jpg", Checker(128, 8, {230, 200, 30}, {30, 30, 30})) && ok;
    ok = WriteJpeg(textures + "canyon_finish.jpg", Checker(128, 4, {250, 250, 250}, {20, 20, 20})) && ok;
    ok = WriteJpeg(textures + "sky1_side.jpg", SkySide()) && ok;
    ok = WriteJpeg(textures + "sky1_top.jpg", RgbImage(32, 32, uint8_t(kZenith.r), uint8_t(kZenith.g),
                                                       uint8_t(kZenith.b))) && ok;
    ok = WriteJpeg(textures + "sky1_bottom.jpg", RgbImage(32, 32, uint8_t(kHaze.r), uint8_t(kHaze.g),
                                                          uint8_t(kHaze.b))) && ok;
    ok = WriteMs3d(root + "/Models/track1.ms3d", TrackModel()) && ok;
    ok = WriteMs3d(root + "/Models/sky1.ms3d", SkyModel()) && ok;
    const std::string text = Script();
    ok = WriteBytes(root + "/Scripts/track1.txt", std::vector<uint8_t>(text.begin(), text.end())) && ok;
    return ok;
}
