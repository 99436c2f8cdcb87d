#include <algorithm>
#include <cmath>

#include "fuzz.h"
#include "race/collision.h"

// The input is a soup of floats: four query segments (from, to) and then triangles of nine floats.
// Every soup must build and answer without a crash; where the coordinates are of track size the
// tree must give exactly the brute-force answer.
namespace {

// A triangle wider than this share of the soup on two axes lies in most cells of every level. Five of them
// split every cell down to the depth limit: some 300,000 nodes, half a second under the sanitizers, for
// what a few dozen nodes reach as well. Such soups took the campaign down to 85 runs a second: they are
// skipped (every soup with four or fewer is an input of its own).
constexpr float kWideShare = 1.0f / 16.0f;
constexpr int kMostWide = 4;

bool TooWide(const std::vector<CollisionTriangle>& soup) {
    float lo[3] = {HUGE_VALF, HUGE_VALF, HUGE_VALF}, hi[3] = {-HUGE_VALF, -HUGE_VALF, -HUGE_VALF};
    for (const CollisionTriangle& t : soup)
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], t.boxMin[i]);
            hi[i] = std::max(hi[i], t.boxMax[i]);
        }
    return std::count_if(soup.begin(), soup.end(), [&](const CollisionTriangle& t) {
        int axes = 0;
        for (int i = 0; i < 3; ++i)  // halves first: no overflow for huge soups
            axes += t.boxMax[i] * 0.5f - t.boxMin[i] * 0.5f > kWideShare * (hi[i] * 0.5f - lo[i] * 0.5f);
        return axes >= 2;
    }) > kMostWide;
}

bool TrackSized(const float* v, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (!(std::fabs(v[i]) < 64.0f))
            return false;
    return true;
}

void Check(CollisionWorld& world, const float from[3], const float to[3], bool compare) {
    float a[3], b[3];
    const bool tree = world.ContactNormal(from, to, a);
    Require(!tree || std::fabs(a[0] * a[0] + a[1] * a[1] + a[2] * a[2] - 1.0f) < 1e-3f);
    if (!compare)
        return;
    const bool brute = world.ContactNormalBruteForce(from, to, b);
    Require(tree == brute && (!tree || memcmp(a, b, sizeof a) == 0));
}

}  // namespace

FUZZ_TARGET {
    std::vector<float> v(size / sizeof(float));
    if (!v.empty())
        memcpy(v.data(), data, v.size() * sizeof(float));
    const size_t queryFloats = v.size() < 24 ? v.size() / 6 * 6 : 24;
    CollisionWorld world;
    for (size_t i = queryFloats; i + 9 <= v.size(); i += 9)
        world.AddTriangle(&v[i], &v[i + 3], &v[i + 6]);
    if (TooWide(world.allTriangles))
        return;
    bool sized = true;
    for (const CollisionTriangle& t : world.allTriangles)
        sized = sized && TrackSized(t.A, 3) && TrackSized(t.B, 3) && TrackSized(t.C, 3);
    world.BuildOctree();
    for (size_t q = 0; q < queryFloats; q += 6)
        Check(world, &v[q], &v[q + 3], sized && TrackSized(&v[q], 6));
    // Queries right at the corners find contacts, so the averaging runs too.
    for (const CollisionTriangle& t : world.allTriangles) {
        const float from[3] = {t.A[0] + 0.3f, t.A[1] + 0.2f, t.A[2] - 0.1f};
        Check(world, from, t.A, sized);
    }
}
