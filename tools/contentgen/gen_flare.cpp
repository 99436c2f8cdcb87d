// Lens flare images: ten shimmering sun shines and six ghost shapes, single-channel SGI files.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/gamedefs.h"
#include "contentgen.h"
#include "imagewriter.h"

namespace {

constexpr int kSize = 128;

// Small deterministic generator so every run writes the same bytes.
struct Lcg {
    uint32_t state;
    float Next() {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0f;
    }
};

uint8_t ToByte(float v) { return static_cast<uint8_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); }

// Calls f(r, angle) with r = 1 at the inscribed circle and stores the result.
template <typename F>
GrayImage Radial(F f) {
    GrayImage image(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float dx = (x + 0.5f) / (kSize * 0.5f) - 1.0f;
            const float dy = (y + 0.5f) / (kSize * 0.5f) - 1.0f;
            const float r = std::sqrt(dx * dx + dy * dy);
            // Squares are blended additively: their border must be black.
            const float edge = std::clamp((1.0f - r) * 8.0f, 0.0f, 1.0f);
            image.At(x, y) = ToByte(f(r, std::atan2(dy, dx)) * edge);
        }
    }
    return image;
}

float Smooth(float edge0, float edge1, float v) {
    const float t = std::clamp((v - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// A hot core with thin rays at angles that differ from image to image, so cycling them shimmers.
GrayImage ShineImage(int index) {
    Lcg rng{0x5A17u + 977u * static_cast<uint32_t>(index)};
    struct Ray { float angle, width, strength; };
    std::vector<Ray> rays(14);
    for (Ray& ray : rays) ray = {rng.Next() * 2.0f * kPi, 0.01f + 0.03f * rng.Next(), 0.4f + 0.6f * rng.Next()};
    return Radial([&](float r, float angle) {
        float v = std::exp(-r * r * 40.0f) + 0.35f * std::exp(-r * r * 6.0f);
        for (const Ray& ray : rays) {
            float d = std::fabs(std::remainder(angle - ray.angle, 2.0f * kPi));
            v += ray.strength * std::exp(-(d * d) / (ray.width * ray.width)) * std::max(0.0f, 1.0f - r) *
                 std::max(0.0f, 1.0f - r);
        }
        return v;
    });
}

float Hexagon(float r, float angle) {
    const float sector = std::remainder(angle, kPi / 3.0f);
    return r * std::cos(sector) / std::cos(kPi / 6.0f);
}

GrayImage FlareImage(int number) {
    switch (number) {
        case 1:  // a soft disc with a brighter rim
            return Radial([](float r, float) {
                return 0.55f * (1.0f - Smooth(0.75f, 0.85f, r)) + 0.3f * Smooth(0.6f, 0.8f, r) * (1.0f - Smooth(0.8f, 0.9f, r));
            });
        case 2:  // a thin ring
            return Radial([](float r, float) { return std::exp(-std::pow((r - 0.8f) / 0.05f, 2.0f)); });
        case 3:  // the aperture's hexagon
            return Radial([](float r, float a) { return 0.7f * (1.0f - Smooth(0.7f, 0.8f, Hexagon(r, a))); });
        case 4:  // a wide glow
            return Radial([](float r, float) { return std::exp(-r * r * 5.0f); });
        case 5:  // a broad halo ring
            return Radial([](float r, float) {
                return 0.8f * std::exp(-std::pow((r - 0.6f) / 0.12f, 2.0f)) + 0.2f * std::exp(-r * r * 3.0f);
            });
        default:  // a small bright disc
            return Radial([](float r, float) { return 1.0f - Smooth(0.3f, 0.7f, r); });
    }
}

}  // namespace

bool GenerateFlares(const std::string& root) {
    bool ok = true;
    char name[64];
    for (int k = 0; k < 10; ++k) {
        snprintf(name, sizeof name, "/Textures/Shine%d.bw", k);
        ok &= WriteBw(root + name, ShineImage(k));
    }
    for (int k = 1; k <= 6; ++k) {
        snprintf(name, sizeof name, "/Textures/Flare%d.bw", k);
        ok &= WriteBw(root + name, FlareImage(k));
    }
    return ok;
}
