// Surface textures of the tracks and their skies.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "app/gamedefs.h"
#include "contentgen.h"
#include "imagewriter.h"
#include "meshbuilder.h"
#include "ms3dwriter.h"
#include "pattern.h"

namespace {

constexpr int kSize = 256;

struct Colour {
    float r, g, b;
};

Colour Mix(Colour a, Colour b, float t) {
    t = std::max(0.0f, std::min(1.0f, t));
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

uint8_t Byte(float v) {
    return uint8_t(std::max(0.0f, std::min(255.0f, v * 255.0f)));
}

RgbImage Paint(int w, int h, const std::function<Colour(float u, float v)>& colourAt) {
    RgbImage img(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const Colour c = colourAt(float(x) / float(w), float(y) / float(h));
            img.Set(x, y, Byte(c.r), Byte(c.g), Byte(c.b));
        }
    return img;
}

// Layered rock: strata bands bent by noise.
Colour Rock(float u, float v, Colour dark, Colour light, unsigned seed) {
    const float n = TilingNoise(u * 8, v * 8, seed, 5, 8);
    const float band = 0.5f + 0.5f * std::sin((v * 10.0f + n * 3.0f) * 2.0f * kPi);
    const float grain = TilingNoise(u * 32, v * 32, seed + 9, 2, 32);
    return Mix(dark, light, 0.25f + 0.45f * band * n + 0.3f * grain);
}

Colour Sand(float u, float v, Colour dark, Colour light, unsigned seed) {
    const float ripple = 0.5f + 0.5f * std::sin((u * 12.0f + TilingNoise(u * 4, v * 4, seed, 3, 4) * 2.5f) * 2 * kPi);
    const float grain = TilingNoise(u * 64, v * 64, seed + 5, 2, 64);
    return Mix(dark, light, 0.35f + 0.35f * ripple + 0.3f * grain);
}

Colour Panels(float u, float v, Colour base, unsigned seed) {
    const float fu = std::fmod(u * 4.0f, 1.0f), fv = std::fmod(v * 4.0f, 1.0f);
    const float edge = std::min(std::min(fu, 1 - fu), std::min(fv, 1 - fv));
    const float n = TilingNoise(u * 16, v * 16, seed, 3, 16);
    float shade = 0.75f + 0.25f * n;
    if (edge < 0.02f)
        shade *= 0.45f;
    const float rx = std::fmod(u * 4.0f + 0.94f, 1.0f) - 0.5f, ry = std::fmod(v * 4.0f + 0.94f, 1.0f) - 0.5f;
    if (rx * rx + ry * ry > 0.19f && std::fabs(rx) > 0.42f && std::fabs(ry) > 0.42f)
        shade *= 1.3f;  // rivets in the corners
    return {base.r * shade, base.g * shade, base.b * shade};
}

Colour Ice(float u, float v, unsigned seed) {
    const float n = TilingNoise(u * 6, v * 6, seed, 5, 6);
    const float streak = TilingNoise(u * 2, v * 24, seed + 3, 3, 2);
    // Deep blue cracks between pale streaks, so the tube keeps its shape through the haze.
    const float crack = std::max(0.0f, 1.0f - std::fabs(n - 0.5f) * 25.0f);
    return Mix(Mix({0.3f, 0.5f, 0.78f}, {0.9f, 0.96f, 1.0f}, 0.25f * n + 0.75f * streak), {0.2f, 0.38f, 0.65f},
               0.45f * crack);
}

// Zenith at the top of the picture, the horizon at 0.9 of its height.
Colour Sky(float u, float v, Colour zenith, Colour horizon, float clouds, bool stars, unsigned seed) {
    const float elevation = std::max(0.0f, 1.0f - v / 0.9f);  // 1 at the zenith, 0 at the horizon
    Colour c = Mix(horizon, zenith, std::pow(elevation, 0.6f));
    const float cloud = TilingNoise(u * 8, v * 6, seed, 5, 8);
    c = Mix(c, {1.0f, 1.0f, 1.0f}, std::max(0.0f, cloud - 0.55f) * 2.2f * clouds * (0.3f + elevation));
    if (stars && TilingNoise(u * 220, v * 120, seed + 17, 1, 220) > 0.93f && elevation > 0.15f)
        c = Mix(c, {1.0f, 1.0f, 0.95f}, 0.8f);
    return c;
}

struct TextureRecipe {
    const char* name;
    std::function<Colour(float, float)> paint;
};

const std::vector<TextureRecipe>& Recipes() {
    static const std::vector<TextureRecipe> recipes = {
        {"sand", [](float u, float v) { return Sand(u, v, {0.62f, 0.48f, 0.3f}, {0.86f, 0.72f, 0.5f}, 1); }},
        {"dunes", [](float u, float v) { return Sand(u, v, {0.7f, 0.52f, 0.32f}, {0.93f, 0.78f, 0.55f}, 2); }},
        {"darksand", [](float u, float v) { return Sand(u, v, {0.26f, 0.24f, 0.28f}, {0.55f, 0.5f, 0.52f}, 3); }},
        {"redrock", [](float u, float v) { return Rock(u, v, {0.38f, 0.16f, 0.1f}, {0.8f, 0.42f, 0.26f}, 4); }},
        {"orangerock", [](float u, float v) { return Rock(u, v, {0.45f, 0.25f, 0.1f}, {0.9f, 0.6f, 0.3f}, 5); }},
        {"sandstone", [](float u, float v) { return Rock(u, v, {0.5f, 0.4f, 0.28f}, {0.85f, 0.75f, 0.55f}, 6); }},
        {"basalt", [](float u, float v) { return Rock(u, v, {0.14f, 0.14f, 0.2f}, {0.5f, 0.5f, 0.62f}, 7); }},
        {"concrete", [](float u, float v) { return Panels(u, v, {0.62f, 0.6f, 0.58f}, 8); }},
        {"metal", [](float u, float v) { return Panels(u, v, {0.55f, 0.58f, 0.64f}, 9); }},
        {"rust", [](float u, float v) { return Panels(u, v, {0.62f, 0.42f, 0.3f}, 11); }},
        {"ice", [](float u, float v) { return Ice(u, v, 10); }},
        {"chalk", [](float u, float v) { return Rock(u, v, {0.62f, 0.62f, 0.58f}, {0.97f, 0.96f, 0.92f}, 12); }},
        {"salt", [](float u, float v) { return Sand(u, v, {0.72f, 0.72f, 0.74f}, {0.97f, 0.97f, 0.99f}, 13); }},
        {"moss", [](float u, float v) { return Sand(u, v, {0.18f, 0.3f, 0.12f}, {0.45f, 0.6f, 0.28f}, 14); }},
        {"jade", [](float u, float v) { return Rock(u, v, {0.08f, 0.28f, 0.22f}, {0.4f, 0.72f, 0.55f}, 15); }},
        {"crystal", [](float u, float v) { return Rock(u, v, {0.3f, 0.15f, 0.45f}, {0.85f, 0.7f, 1.0f}, 16); }},
        {"snow", [](float u, float v) { return Sand(u, v, {0.78f, 0.83f, 0.9f}, {1.0f, 1.0f, 1.0f}, 17); }},
        {"lava",
         [](float u, float v) {
             const float n = TilingNoise(u * 6, v * 6, 18, 5, 6);
             const float crack = std::max(0.0f, 1.0f - std::fabs(n - 0.5f) * 14.0f);
             return Mix(Rock(u, v, {0.08f, 0.06f, 0.06f}, {0.3f, 0.25f, 0.24f}, 19), {1.0f, 0.45f, 0.1f}, crack);
         }},
        {"lightfall",
         [](float u, float v) {
             const float streak = TilingNoise(u * 16, v * 2, 20, 3, 16);
             return Mix({0.3f, 0.3f, 0.3f}, {1.0f, 1.0f, 1.0f}, streak * (0.4f + 0.6f * v));
         }},
        {"lamp",
         [](float u, float v) {
             const float d = std::hypot(u - 0.5f, v - 0.5f);
             return Mix({1.0f, 1.0f, 0.95f}, {1.0f, 0.75f, 0.35f}, d * 2.0f);
         }},
        // Lids: pale glass with a frame every few metres, and a field of faint hexagons.
        {"glass",
         [](float u, float v) {
             const float fu = std::fmod(u * 2.0f, 1.0f), fv = std::fmod(v * 2.0f, 1.0f);
             const bool frame = std::min(std::min(fu, 1 - fu), std::min(fv, 1 - fv)) < 0.03f;
             const float streak = TilingNoise(u * 4 + v * 4, v * 2, 12, 3, 4);
             return frame ? Colour{0.25f, 0.27f, 0.3f} : Mix({0.55f, 0.7f, 0.8f}, {0.9f, 0.97f, 1.0f}, streak);
         }},
        {"field",
         [](float u, float v) {
             const float x = u * 8.0f, y = v * 8.0f * 1.1547f;  // hexagons on a 8 x 8 lattice
             const float row = std::floor(y), cx = x - 0.5f * std::fmod(row, 2.0f);
             const float dx = std::fabs(cx - std::floor(cx) - 0.5f), dy = std::fabs(y - row - 0.5f);
             const float edge = std::max(dx * 1.732f + dy, dy * 2.0f);
             return Mix({0.1f, 0.35f, 0.6f}, {0.6f, 0.95f, 1.0f}, std::max(0.0f, (edge - 0.85f) * 6.0f));
         }},
        {"goal",
         [](float u, float v) {
             const bool white = (int(u * 8) + int(v * 8)) % 2 == 0;
             return white ? Colour{1.0f, 1.0f, 1.0f} : Colour{0.1f, 0.1f, 0.1f};
         }},
    };
    return recipes;
}

struct SkyRecipe {
    const char* name;
    Colour zenith, horizon;
    float clouds;
    bool stars;
};

const SkyRecipe kSkies[] = {
    {"day", {0.2f, 0.42f, 0.8f}, {0.8f, 0.85f, 0.9f}, 0.8f, false},
    {"dusk", {0.18f, 0.16f, 0.4f}, {0.98f, 0.55f, 0.3f}, 0.6f, false},
    {"night", {0.01f, 0.01f, 0.05f}, {0.08f, 0.1f, 0.2f}, 0.15f, true},
    {"storm", {0.3f, 0.32f, 0.36f}, {0.62f, 0.64f, 0.66f}, 1.0f, false},
    {"noon", {0.05f, 0.25f, 0.75f}, {0.85f, 0.92f, 1.0f}, 0.3f, false},
    {"dawn", {0.35f, 0.45f, 0.75f}, {1.0f, 0.72f, 0.7f}, 0.7f, false},
    {"dust", {0.45f, 0.38f, 0.3f}, {0.85f, 0.7f, 0.5f}, 0.9f, false},
    {"violet", {0.15f, 0.05f, 0.3f}, {0.85f, 0.45f, 0.7f}, 0.5f, false},
    {"blood", {0.12f, 0.0f, 0.02f}, {0.75f, 0.15f, 0.08f}, 0.4f, true},
    {"aurora", {0.0f, 0.15f, 0.12f}, {0.2f, 0.6f, 0.45f}, 0.3f, true},
};

// A dome around the eye, facing inwards, with a skirt below the horizon.
void BuildSkyDome(CMilkshapeModel& model, const std::string& texture) {
    MeshBuilder mb(model);
    MaterialSpec m;
    m.name = "sky";
    m.texture = texture;
    mb.BeginGroup("sky", mb.AddMaterial(m));
    constexpr int kAround = 24, kUp = 8;
    constexpr float kRadius = 50.0f;
    auto vertex = [&](int a, int e, UV& uv) {
        const float az = 2.0f * kPi * float(a) / kAround;
        const float el = e < 0 ? -0.4f : 0.5f * kPi * float(e) / kUp;
        uv = {2.0f * float(a) / kAround, e < 0 ? 1.0f : 0.9f * (1.0f - float(e) / kUp)};
        return Vec3{std::cos(az) * std::cos(el) * kRadius, std::sin(el) * kRadius, std::sin(az) * std::cos(el) * kRadius};
    };
    for (int e = -1; e < kUp; e++)
        for (int a = 0; a < kAround; a++) {
            UV u00, u10, u11, u01;
            const Vec3 p00 = vertex(a, e, u00), p10 = vertex(a + 1, e, u10);
            const Vec3 p11 = vertex(a + 1, e + 1, u11), p01 = vertex(a, e + 1, u01);
            const Vec3 n = Normalized(Cross(p10 - p00, p01 - p00));
            const Vec3 normals[3] = {n, n, n};
            const uint16_t i00 = mb.AddVertex(p00), i10 = mb.AddVertex(p10), i11 = mb.AddVertex(p11),
                           i01 = mb.AddVertex(p01);
            // Seen from the centre these wind counter-clockwise.
            const UV t1[3] = {u00, u11, u01}, t2[3] = {u00, u10, u11};
            mb.AddTriangle(i00, i11, i01, normals, t1);
            mb.AddTriangle(i00, i10, i11, normals, t2);
        }
}

}  // namespace

bool GenerateTrackArt(const std::string& root) {
    bool ok = true;
    for (const TextureRecipe& r : Recipes())
        ok = WriteJpeg(root + "/Textures/" + r.name + ".jpg", Paint(kSize, kSize, r.paint), 90) && ok;
    for (const SkyRecipe& s : kSkies) {
        const std::string name = std::string("sky_") + s.name;
        ok = WriteJpeg(root + "/Textures/" + name + ".jpg", Paint(512, 256, [&s](float u, float v) {
                           return Sky(u, v, s.zenith, s.horizon, s.clouds, s.stars, 20);
                       }), 90) && ok;
        CMilkshapeModel dome;
        BuildSkyDome(dome, "..\\Textures\\" + name + ".jpg");
        ok = WriteMs3d(root + "/Models/" + name + ".ms3d", dome) && ok;
    }
    return ok;
}
