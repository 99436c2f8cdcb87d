// The trophy of the results panel and of won tracks: a turned cup with two handles, and one brushed
// metal texture per medal.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "app/gamedefs.h"
#include "contentgen.h"
#include "imagewriter.h"
#include "meshbuilder.h"
#include "ms3dwriter.h"

namespace {

constexpr int kSides = 32;
// World units per outline unit: small enough that the cup leaves the texts beside it on the results panel
// and the track card readable.
constexpr float kSize = 0.6f;

// The turned outline from the foot up, over the rim and down into the bowl: radius, height.
struct OutlinePoint {
    float radius, height;
};
const OutlinePoint kOutline[] = {
    {0.0f, 0.0f},  {0.62f, 0.0f},  {0.62f, 0.12f}, {0.5f, 0.16f},  {0.5f, 0.3f},  {0.22f, 0.36f},
    {0.12f, 0.5f}, {0.1f, 0.75f},  {0.16f, 0.85f}, {0.34f, 0.95f}, {0.5f, 1.15f}, {0.58f, 1.4f},
    {0.6f, 1.62f}, {0.56f, 1.64f}, {0.5f, 1.45f},  {0.4f, 1.2f},   {0.0f, 1.1f},
};
constexpr int kOutlinePoints = sizeof kOutline / sizeof kOutline[0];

// Perpendicular to the outline at point i, on the side the surface faces.
void OutlineNormal(int i, float& nr, float& ny) {
    const OutlinePoint& a = kOutline[std::max(i - 1, 0)];
    const OutlinePoint& b = kOutline[std::min(i + 1, kOutlinePoints - 1)];
    const float dr = b.radius - a.radius, dy = b.height - a.height;
    const float len = std::sqrt(dr * dr + dy * dy);
    nr = dy / len;
    ny = -dr / len;
}

void Lathe(MeshBuilder& mb) {
    std::vector<uint16_t> ids;
    std::vector<Vec3> normals;
    for (int i = 0; i < kOutlinePoints; ++i) {
        float nr, ny;
        OutlineNormal(i, nr, ny);
        for (int k = 0; k <= kSides; ++k) {
            const float a = 2.0f * kPi * k / kSides;
            ids.push_back(mb.AddVertex({kSize * kOutline[i].radius * std::cos(a), kSize * kOutline[i].height,
                                        kSize * kOutline[i].radius * std::sin(a)}));
            normals.push_back({nr * std::cos(a), ny, nr * std::sin(a)});
        }
    }
    auto at = [](int i, int k) { return i * (kSides + 1) + k; };
    for (int i = 0; i + 1 < kOutlinePoints; ++i) {
        for (int k = 0; k < kSides; ++k) {
            const int c00 = at(i, k), c01 = at(i, k + 1), c10 = at(i + 1, k), c11 = at(i + 1, k + 1);
            const float s0 = float(k) / kSides, s1 = float(k + 1) / kSides;
            const float t0 = 1.0f - float(i) / (kOutlinePoints - 1), t1 = 1.0f - float(i + 1) / (kOutlinePoints - 1);
            // Up the outline and round against the angle winds counter-clockwise seen from the front. Where
            // the outline touches the axis one of the two triangles has no area and is left out.
            if (kOutline[i + 1].radius > 0.0f) {
                const Vec3 n[3] = {normals[c00], normals[c10], normals[c11]};
                const UV uv[3] = {{s0, t0}, {s0, t1}, {s1, t1}};
                mb.AddTriangle(ids[c00], ids[c10], ids[c11], n, uv);
            }
            if (kOutline[i].radius > 0.0f) {
                const Vec3 n[3] = {normals[c00], normals[c11], normals[c01]};
                const UV uv[3] = {{s0, t0}, {s1, t1}, {s1, t0}};
                mb.AddTriangle(ids[c00], ids[c11], ids[c01], n, uv);
            }
        }
    }
}

// A handle: a round tube bent in a half circle out from one side of the bowl (side +1 or -1 in x).
void Handle(MeshBuilder& mb, float side) {
    constexpr int kSteps = 12, kRound = 8;
    constexpr float kTube = 0.045f;
    std::vector<uint16_t> ids;
    std::vector<Vec3> normals;
    for (int i = 0; i <= kSteps; ++i) {
        const float a = kPi * i / kSteps;
        const Vec3 centre = {side * (0.52f + 0.26f * std::sin(a)), 1.2f + 0.26f * std::cos(a), 0.0f};
        const Vec3 out = {side * std::sin(a), std::cos(a), 0.0f};  // away from the bend's centre
        for (int k = 0; k < kRound; ++k) {
            const float b = 2.0f * kPi * k / kRound;
            const Vec3 n = {out.x * std::cos(b), out.y * std::cos(b), std::sin(b)};
            ids.push_back(mb.AddVertex((centre + n * kTube) * kSize));
            normals.push_back(n);
        }
    }
    for (int i = 0; i < kSteps; ++i) {
        for (int k = 0; k < kRound; ++k) {
            const int k1 = (k + 1) % kRound;
            int q[4] = {i * kRound + k, (i + 1) * kRound + k, (i + 1) * kRound + k1, i * kRound + k1};
            // Mirroring the bend to the other side turns the winding round.
            if (side > 0) std::swap(q[1], q[3]);
            const int tris[2][3] = {{q[0], q[1], q[2]}, {q[0], q[2], q[3]}};
            for (const auto& t : tris) {
                const Vec3 n[3] = {normals[t[0]], normals[t[1]], normals[t[2]]};
                const UV uv[3] = {{0.1f * (t[0] % kRound), 0.5f}, {0.1f * (t[1] % kRound), 0.55f},
                                  {0.1f * (t[2] % kRound), 0.5f}};
                mb.AddTriangle(ids[t[0]], ids[t[1]], ids[t[2]], n, uv);
            }
        }
    }
}

// Brushed metal in the medal's colour: fine streaks and bright bands where the light catches the turn.
RgbImage MetalTexture(const float colour[3]) {
    constexpr int kTex = 256;
    RgbImage image(kTex, kTex);
    uint32_t state = 12345u;
    std::vector<float> streak(kTex);
    for (float& v : streak) {
        state = state * 1664525u + 1013904223u;
        v = (state >> 8) / 16777216.0f;
    }
    for (int y = 0; y < kTex; ++y) {
        for (int x = 0; x < kTex; ++x) {
            const float u = float(x) / kTex;
            const float band = std::pow(std::fabs(std::cos(u * 4.0f * kPi)), 6.0f);
            const float shade = (0.55f + 0.45f * band) * (0.85f + 0.15f * streak[x]) * (0.8f + 0.2f * (1.0f - float(y) / kTex));
            uint8_t c[3];
            for (int i = 0; i < 3; ++i) c[i] = static_cast<uint8_t>(std::min(1.0f, colour[i] * shade + 0.3f * band * band) * 255.0f + 0.5f);
            image.Set(x, y, c[0], c[1], c[2]);
        }
    }
    return image;
}

}  // namespace

bool GenerateTrophy(const std::string& root) {
    CMilkshapeModel model;
    MeshBuilder mb(model);
    MaterialSpec metal;
    metal.name = "Medal";
    metal.texture = "../Textures/trophy_gold.jpg";  // the results and the track cards swap in the won medal's
    metal.ambient[0] = metal.ambient[1] = metal.ambient[2] = 0.45f;
    metal.diffuse[0] = metal.diffuse[1] = metal.diffuse[2] = 0.9f;
    metal.specular[0] = metal.specular[1] = metal.specular[2] = 1.0f;
    metal.shininess = 60.0f;
    mb.BeginGroup("Trophy", mb.AddMaterial(metal));
    Lathe(mb);
    Handle(mb, 1.0f);
    Handle(mb, -1.0f);
    bool ok = mb.ok() && WriteMs3d(root + "/Models/trophy.ms3d", model);
    const struct {
        const char* name;
        float colour[3];
    } medals[] = {
        {"trophy_gold.jpg", {0.95f, 0.78f, 0.25f}},
        {"trophy_silver.jpg", {0.78f, 0.8f, 0.85f}},
        {"trophy_bronze.jpg", {0.8f, 0.5f, 0.3f}},
    };
    for (const auto& m : medals) ok &= WriteJpeg(root + "/Textures/" + m.name, MetalTexture(m.colour));
    return ok;
}
