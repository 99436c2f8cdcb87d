#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "../tools/closure.h"
#include "canyonmesh.h"
#include "meshbuilder.h"
#include "race/collision.h"
#include "scene/milkshape.h"

namespace {

using D3 = std::array<double, 3>;
D3 Of(const float* v) { return {v[0], v[1], v[2]}; }
D3 Sub(const D3& a, const D3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
D3 Along(const D3& p, const D3& d, double t) { return {p[0] + t * d[0], p[1] + t * d[1], p[2] + t * d[2]}; }
double Dot(const D3& a, const D3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
D3 Cross(const D3& u, const D3& v) { return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]}; }

double SegmentDistance2(const D3& p, const D3& a, const D3& b) {
    const D3 e = Sub(b, a), d = Sub(p, a);
    const double ee = Dot(e, e);
    const D3 r = Along(d, e, ee > 0 ? -std::clamp(Dot(d, e) / ee, 0.0, 1.0) : 0.0);
    return Dot(r, r);
}

// Independent reference in double precision: the plane projection when it falls inside, else the
// nearest of the three edges.
double ReferenceDistance2(const float pf[3], const float af[3], const float bf[3], const float cf[3]) {
    const D3 p = Of(pf), a = Of(af), b = Of(bf), c = Of(cf);
    double best = std::min({SegmentDistance2(p, a, b), SegmentDistance2(p, b, c), SegmentDistance2(p, c, a)});
    const D3 n = Cross(Sub(b, a), Sub(c, a));
    const double nn = Dot(n, n);
    if (nn > 0) {
        // The projection q of p onto the plane lies inside when it is on the inner side of every edge.
        const double h = Dot(Sub(p, a), n) / nn;
        const D3 q = Along(p, n, -h);
        if (Dot(Cross(Sub(b, a), Sub(q, a)), n) >= 0 && Dot(Cross(Sub(c, b), Sub(q, b)), n) >= 0 &&
            Dot(Cross(Sub(a, c), Sub(q, c)), n) >= 0)
            best = std::min(best, h * h * nn);
    }
    return best;
}

struct Random {
    std::mt19937 gen{1234};
    float operator()() { return std::uniform_real_distribution<float>(0.0f, 1.0f)(gen); }
    float Range(float lo, float hi) { return lo + (hi - lo) * (*this)(); }
};

void AddCanyon(CollisionWorld& world, int segments) {
    for (const CanyonTriangle& t : GenerateCanyon(segments))
        world.AddTriangle(t.a, t.b, t.c);
}

// The tree must give exactly the brute-force answer: same contact, same normal to the bit.
void ExpectAgreement(CollisionWorld& world, const float from[3], const float to[3]) {
    float n1[3] = {}, n2[3] = {};
    const bool tree = world.ContactNormal(from, to, n1);
    const size_t treeHits = world.hits.size();
    const bool brute = world.ContactNormalBruteForce(from, to, n2);
    ASSERT_EQ(tree, brute) << to[0] << " " << to[1] << " " << to[2];
    ASSERT_EQ(treeHits, world.hits.size());
    ASSERT_EQ(memcmp(n1, n2, sizeof n1), 0);
}

}  // namespace

TEST(CollisionDistance, MatchesAnIndependentReferenceInEveryRegionAndOnDegenerateTriangles) {
    Random r;
    for (int i = 0; i < 20000; ++i) {
        float a[3], b[3], c[3], p[3];
        for (int k = 0; k < 3; ++k)
            a[k] = r.Range(-5, 5), b[k] = r.Range(-5, 5), c[k] = r.Range(-5, 5), p[k] = r.Range(-8, 8);
        const double want = ReferenceDistance2(p, a, b, c);
        const float got = SquaredDistanceToTriangle(p, a, b, c);
        ASSERT_NEAR(got, want, 1e-4 * (1 + want)) << i;
    }

    // Degenerate triangles give the distance to their segment or point.
    const float p[3] = {0, 1, 0};
    const float a[3] = {-1, 0, 0}, b[3] = {1, 0, 0}, mid[3] = {0, 0, 0}, far[3] = {3, 0, 0};
    EXPECT_FLOAT_EQ(SquaredDistanceToTriangle(p, a, b, mid), 1.0f);  // collinear
    EXPECT_FLOAT_EQ(SquaredDistanceToTriangle(p, far, far, far), 10.0f);  // a point
    // A sliver a billionth of a unit across: its squares underflow in single precision.
    const float t0[3] = {0, 0, 0}, t1[3] = {0, 2.4e-24f, -7.9e-11f}, t2[3] = {-7.9e-11f, 2.3e-38f, 2.2e-38f};
    EXPECT_NEAR(SquaredDistanceToTriangle(p, t0, t1, t2), 1.0f, 1e-6f);
}

TEST(CollisionWorld, OctreeAgreesWithBruteForce) {
    // On a generated track, from points along it.
    CollisionWorld track;
    AddCanyon(track, 200);
    track.BuildOctree();
    ASSERT_GT(track.allTriangles.size(), 5000u);
    ASSERT_GT(track.NodeCount(), 1000u);
    Random r;
    int contacts = 0;
    for (int i = 0; i < 4000 && !HasFatalFailure(); ++i) {
        float from[3], to[3];
        CanyonQueryPoint(200, r, from);
        for (int k = 0; k < 3; ++k) to[k] = from[k] + r.Range(-0.79f, 0.79f) / std::sqrt(3.0f);
        ExpectAgreement(track, from, to);
        contacts += track.hits.empty() ? 0 : 1;
    }
    EXPECT_GT(contacts, 400);  // the sample exercises both answers
    EXPECT_LT(contacts, 3600);

    // Among many small triangles around the root's split planes, queried from the other side of a plane at
    // distances between the old 0.4 box margin and the contact radius: none is lost.
    CollisionWorld small;
    for (int i = 0; i < 3000; ++i) {
        float a[3], b[3], c[3];
        for (int k = 0; k < 3; ++k)
            a[k] = r.Range(-20, 20), b[k] = a[k] + r.Range(-0.3f, 0.3f), c[k] = a[k] + r.Range(-0.3f, 0.3f);
        small.AddTriangle(a, b, c);
    }
    small.BuildOctree();
    for (int i = 0; i < 6000 && !HasFatalFailure(); ++i) {
        const CollisionTriangle& t = small.allTriangles[i % small.allTriangles.size()];
        float to[3], from[3];
        for (int k = 0; k < 3; ++k) to[k] = t.A[k] + r.Range(-0.85f, 0.85f), from[k] = to[k] + r.Range(-0.1f, 0.1f);
        ExpectAgreement(small, from, to);
    }
}

// A contact's normal is unit length and turned against the motion: a face rising into it is reversed; a
// down-facing face under the vehicle counts as (0, 1, 0) beside a floor counted with its full length; two
// faces of one sheet cancel exactly and still push back. Farther than sqrt(0.8) from the surface there is no
// contact, even for a segment passing through it.
TEST(CollisionWorld, ContactNormalsAreUnitAndAgainstTheMotionAndDegenerateTrianglesNeverPoisonTheTree) {
    const float a[3] = {-5, 0, -5}, b[3] = {5, 0, -5}, c[3] = {0, 0, 5};  // normal (B-A)x(C-A) points down
    const float d[3] = {-1, 0.2f, -1}, e[3] = {1, 0.2f, -1}, f[3] = {0, 0.2f, 1};
    CollisionWorld down, floors, sheet;
    down.AddTriangle(a, b, c);
    floors.AddTriangle(a, c, b);
    floors.AddTriangle(d, e, f);
    sheet.AddTriangle(a, b, c);
    sheet.AddTriangle(a, c, b);
    const struct {
        CollisionWorld& world;
        float from[3], to[3];
        bool contact;
        float ny;  // NAN: any unit normal
    } cases[] = {
        {down, {0, 1.5f, 0}, {0, 0.5f, 0}, true, 1},  // falling: the down normal turns up
        {down, {0, -1.5f, 0}, {0, -0.5f, 0}, true, -1},
        {down, {0, 1.5f, 0}, {0, -0.9f, 0}, false, 0},
        {down, {0, 1.5f, 0}, {0, 0.89f, 0}, true, 1},
        {down, {0, 1.5f, 0}, {0, 0.9f, 0}, false, 0},
        {floors, {0.3f, 0.6f, 0}, {0, 0.5f, 0}, true, 1},
        {sheet, {0, 0.3f, -1}, {0, 0.3f, 0}, true, NAN},
    };
    for (const auto& k : cases) {
        k.world.BuildOctree();
        float n[3] = {};
        ASSERT_EQ(k.world.ContactNormal(k.from, k.to, n), k.contact) << k.to[1];
        if (k.contact) {
            EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0f, 1e-5f) << k.to[1];
            EXPECT_TRUE(std::isnan(k.ny) || n[1] == k.ny) << k.to[1];
        }
    }

    // Degenerate triangles never crash or poison the tree.
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    CollisionWorld clean, dirty;
    AddCanyon(clean, 60);
    const float z[3] = {0, 0, 0}, x[3] = {1, 0, 0}, x2[3] = {2, 0, 0}, n3[3] = {nan, 0, 0}, i3[3] = {0, inf, 0},
                big[3] = {3e38f, 3e38f, 0}, big2[3] = {-3e38f, 3e38f, 1};
    EXPECT_FALSE(dirty.AddTriangle(z, x, x2));    // zero area
    EXPECT_FALSE(dirty.AddTriangle(z, x, n3));    // not a number
    EXPECT_FALSE(dirty.AddTriangle(i3, x, z));    // infinite
    EXPECT_FALSE(dirty.AddTriangle(big, big2, z));  // normal overflows
    AddCanyon(dirty, 60);
    EXPECT_FALSE(dirty.AddTriangle(x, n3, z));
    EXPECT_EQ(dirty.SkippedTriangles(), 5u);
    clean.BuildOctree();
    dirty.BuildOctree();
    EXPECT_EQ(clean.NodeCount(), dirty.NodeCount());
    Random r;
    for (int i = 0; i < 3000; ++i) {
        float from[3], to[3], n1[3] = {}, n2[3] = {};
        CanyonQueryPoint(60, r, from);
        for (int k = 0; k < 3; ++k)
            to[k] = from[k] + r.Range(-0.4f, 0.4f);
        ASSERT_EQ(clean.ContactNormal(from, to, n1), dirty.ContactNormal(from, to, n2));
        ASSERT_EQ(memcmp(n1, n2, sizeof n1), 0);
    }
    // Non-finite query points and an empty world answer no contact.
    float n[3];
    const float bad[3] = {nan, 1, 1};
    EXPECT_FALSE(dirty.ContactNormal(z, bad, n));
    EXPECT_FALSE(dirty.ContactNormal(bad, z, n));
    CollisionWorld empty;
    EXPECT_FALSE(empty.ContactNormal(z, x, n));
    empty.BuildOctree();
    EXPECT_FALSE(empty.ContactNormal(z, x, n));
}

TEST(CollisionWorld, BuildsFromTheTrackModelSkippingGroupsOfMaterialG) {
    CMilkshapeModel model;
    const float corners[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
    const uint16_t faces[5][3] = {{0, 1, 2}, {0, 1, 3}, {0, 2, 3}, {1, 2, 3}, {0, 1, 9}};
    const char* names[3] = {"G", "G2", "g"};
    model.vertices.resize(4);
    model.triangles.resize(5);
    model.materials.resize(3);
    for (int i = 0; i < 4; ++i) memcpy(model.vertices[i].position, corners[i], sizeof corners[i]);
    for (int i = 0; i < 5; ++i) memcpy(model.triangles[i].vertexIndices, faces[i], sizeof faces[i]);
    for (int i = 0; i < 3; ++i) snprintf(model.materials[i].name, sizeof model.materials[i].name, "%s", names[i]);
    // Groups: material G (skipped), G2, g, none, and one whose triangles point nowhere.
    const int8_t materials[] = {0, 1, 2, -1, 1};
    const std::vector<uint32_t> triangles[] = {{0}, {1}, {2}, {3}, {4, 77}};
    model.groups.resize(5);
    for (int i = 0; i < 5; ++i) {
        model.groups[i].materialIndex = materials[i];
        model.groups[i].triangleIndices = triangles[i];
    }
    auto world = CollisionWorld::Build(model);
    ASSERT_EQ(world->allTriangles.size(), 3u);
    EXPECT_EQ(world->allTriangles[0].C[1], 1.0f);  // triangle 1, in group order and corner order
    EXPECT_EQ(world->allTriangles[2].A[0], 1.0f);  // triangle 3, from the group without a material
    for (const CollisionTriangle& t : world->allTriangles)
        EXPECT_FALSE(t.normal[0] == 0 && t.normal[2] == 0);  // the floor (triangle 0) is not among them
}

// The closure flood stops at whole walls and finds any way out: a closed room holds it, a room with one
// triangle left out does not, nor does an open canyon.
TEST(ClosureFlood, HeldByAClosedRoomOnlyAndNeverBySomethingLeftOpen) {
    CMilkshapeModel room;  // a cube of edge 10 round the origin
    MeshBuilder b(room);
    b.BeginGroup("room", -1);
    b.AddBox({-5, -5, -5}, {5, 5, 5});
    const struct {
        int leftOut;  // a triangle of the room not added, or none
        bool canyon;
        bool closed;
    } cases[] = {{-1, false, true}, {4, false, false}, {-1, true, false}};
    for (const auto& c : cases) {
        CMilkshapeModel model = room;
        if (c.leftOut >= 0)
            model.groups[0].triangleIndices.erase(model.groups[0].triangleIndices.begin() + c.leftOut);
        CollisionWorld world;
        if (c.canyon)
            AddCanyon(world, 40);
        else
            world.CollectTriangles(model);
        world.BuildOctree();
        float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
        for (const CollisionTriangle& t : world.allTriangles)
            for (int k = 0; k < 3; k++)
                lo[k] = std::min(lo[k], t.boxMin[k]), hi[k] = std::max(hi[k], t.boxMax[k]);
        ClosureFlood flood(world, lo, hi);
        const float start[3] = {c.canyon ? 0.0f : 1.0f, 2.0f, c.canyon ? 40.0f : 0.5f};
        const ClosureResult result = flood.Fill(start);
        EXPECT_TRUE(result.startClear) << c.leftOut;
        EXPECT_EQ(result.closed, c.closed) << c.leftOut << " " << c.canyon;
        EXPECT_TRUE(flood.Reached(start));
        // The room's 30^3 cubes less the layer the walls cross.
        EXPECT_TRUE(!c.closed || result.reached == 28 * 28 * 28) << result.reached;
    }
}
