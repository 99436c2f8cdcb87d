#pragma once

// A colour of the generated pictures, channels 0..255 kept in floats so blends can be chained.
struct Rgb {
    float r, g, b;
};

// a + (b - a) * t in every channel.
Rgb Mix(const Rgb& a, const Rgb& b, float t);
