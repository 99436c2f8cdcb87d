#include "pattern.h"

#include <cmath>

namespace {

uint32_t Hash(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u ^ uint32_t(x) * 0x85EBCA77u ^ uint32_t(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float Lattice(int x, int y, uint32_t seed, int period) {
    if (period > 0) {
        x = ((x % period) + period) % period;
        y = ((y % period) + period) % period;
    }
    return float(Hash(x, y, seed) >> 8) / float(1u << 24);
}

float Smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

float PeriodicNoise(float x, float y, uint32_t seed, int period) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const float tx = Smooth(x - fx), ty = Smooth(y - fy);
    const float a = Lattice(ix, iy, seed, period), b = Lattice(ix + 1, iy, seed, period);
    const float c = Lattice(ix, iy + 1, seed, period), d = Lattice(ix + 1, iy + 1, seed, period);
    return (a + (b - a) * tx) * (1.0f - ty) + (c + (d - c) * tx) * ty;
}

float Octaves(float x, float y, uint32_t seed, int octaves, int period) {
    float sum = 0.0f, weight = 0.5f, total = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += PeriodicNoise(x, y, seed + uint32_t(o) * 101u, period) * weight;
        total += weight;
        x *= 2.0f;
        y *= 2.0f;
        period *= 2;
        weight *= 0.5f;
    }
    return sum / total;
}

}  // namespace

float FractalNoise(float x, float y, uint32_t seed, int octaves) {
    return Octaves(x, y, seed, octaves, 0);
}

float TilingNoise(float x, float y, uint32_t seed, int octaves, int period) {
    return Octaves(x, y, seed, octaves, period);
}

Rgb Mix(const Rgb& a, const Rgb& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

RgbImage NoiseImage(int size, const Rgb& a, const Rgb& b, float scale, uint32_t seed, int octaves) {
    RgbImage image(size, size);
    const int period = float(int(scale)) == scale ? int(scale) : 0;  // only whole periods tile
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float n = Octaves(x * scale / size, y * scale / size, seed, octaves, period);
            const Rgb c = Mix(a, b, n);
            image.Set(x, y, uint8_t(c.r), uint8_t(c.g), uint8_t(c.b));
        }
    }
    return image;
}
