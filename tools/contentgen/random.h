#pragma once

#include <cstdint>

// Deterministic pseudo-random numbers for generated content (the same on every machine).
class Random {
public:
    explicit Random(uint32_t seed) : state(seed * 2654435761u + 0x9E3779B9u) {}
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    float Unit() { return float(Next() & 0xFFFFFF) / float(0x1000000); }  // [0, 1)
    float Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }

private:
    uint32_t state;
};
