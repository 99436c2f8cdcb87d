#pragma once

#include <cstdint>

#include "imagewriter.h"
#include "rgb.h"

// Sum of octaves of smooth deterministic value noise (the same arguments give the same value on every
// machine), halving in amplitude and doubling in frequency; in [0, 1).
float FractalNoise(float x, float y, uint32_t seed, int octaves);
// The same, repeating every `period` lattice cells so pictures made from it tile.
float TilingNoise(float x, float y, uint32_t seed, int octaves, int period);

// A size x size picture blending from colour a to colour b by fractal noise of the given feature scale
// (features per picture); tiles seamlessly when scale is a whole number.
RgbImage NoiseImage(int size, const Rgb& a, const Rgb& b, float scale, uint32_t seed, int octaves = 4);
