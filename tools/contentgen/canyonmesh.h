#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

// A winding canyon as plain triangles: a floor with gentle bumps, two rough walls and scattered
// rocks, segments steps of 2 units long. Deterministic for a seed, so tests and benches can compare
// runs; about 4 * segments * (across + height) triangles.
struct CanyonTriangle {
    float a[3], b[3], c[3];
};

inline std::vector<CanyonTriangle> GenerateCanyon(int segments, int across = 8, int height = 6, uint32_t seed = 1) {
    uint32_t state = seed * 2654435761u + 12345u;
    auto random = [&state]() {  // xorshift: the same numbers on every platform
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (state & 0xffffff) / float(0x1000000);
    };
    const float width = 14.0f, step = 2.0f, wallStep = 2.5f;
    auto centre = [&](int i) { return 30.0f * std::sin(i * 0.02f) + 8.0f * std::sin(i * 0.11f); };
    // Cross-section point k of ring i: floor points from the left wall to the right, then up each wall.
    std::vector<float> ring((across + 1 + 2 * height) * 3), prev;
    std::vector<CanyonTriangle> out;
    auto quad = [&out](const float* p0, const float* p1, const float* p2, const float* p3) {
        CanyonTriangle t1, t2;
        for (int k = 0; k < 3; ++k) {
            t1.a[k] = p0[k], t1.b[k] = p1[k], t1.c[k] = p2[k];
            t2.a[k] = p0[k], t2.b[k] = p2[k], t2.c[k] = p3[k];
        }
        out.push_back(t1);
        out.push_back(t2);
    };
    for (int i = 0; i <= segments; ++i) {
        const float z = i * step, cx = centre(i);
        int n = 0;
        auto put = [&](float x, float y) {
            ring[n * 3] = x, ring[n * 3 + 1] = y, ring[n * 3 + 2] = z + (random() - 0.5f) * 0.3f;
            ++n;
        };
        for (int h = height; h >= 1; --h)  // left wall, top down
            put(cx - width * 0.5f - 0.6f * h + random() * 0.8f, h * wallStep);
        for (int k = 0; k <= across; ++k)
            put(cx - width * 0.5f + width * k / across, 0.4f * std::sin(i * 0.3f + k) * random());
        for (int h = 1; h <= height; ++h)  // right wall, bottom up
            put(cx + width * 0.5f + 0.6f * h - random() * 0.8f, h * wallStep);
        if (!prev.empty())
            for (int k = 0; k + 1 < n; ++k)
                quad(&prev[k * 3], &ring[k * 3], &ring[(k + 1) * 3], &prev[(k + 1) * 3]);
        if (i % 5 == 2) {  // a rock: a small tetrahedron on the floor
            const float rx = cx + (random() - 0.5f) * width * 0.8f, s = 0.5f + random() * 1.5f;
            const float p[4][3] = {{rx - s, 0, z - s}, {rx + s, 0, z - s}, {rx, 0, z + s}, {rx, s * 1.5f, z}};
            const int faces[4][3] = {{0, 1, 3}, {1, 2, 3}, {2, 0, 3}, {0, 2, 1}};
            for (const auto& f : faces) {
                CanyonTriangle t;
                for (int k = 0; k < 3; ++k)
                    t.a[k] = p[f[0]][k], t.b[k] = p[f[1]][k], t.c[k] = p[f[2]][k];
                out.push_back(t);
            }
        }
        prev = ring;
    }
    return out;
}

// A point near the canyon's surfaces for queries: inside the channel, close to floor, walls or rocks.
template <typename Random>
void CanyonQueryPoint(int segments, Random&& random, float p[3]) {
    const int i = static_cast<int>(random() * segments);
    const float cx = 30.0f * std::sin(i * 0.02f) + 8.0f * std::sin(i * 0.11f);
    p[0] = cx + (random() - 0.5f) * 18.0f;
    p[1] = random() * 4.0f - 0.5f;
    p[2] = i * 2.0f + random() * 2.0f;
}
