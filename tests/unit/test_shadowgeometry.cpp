#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <map>
#include <utility>

#include "app/gamedefs.h"
#include "data/trackscript.h"
#include "lighting/shadowgeometry.h"
#include "lighting/shadowvolume.h"
#include "meshbuilder.h"
#include "scene/milkshape.h"
#include "testutil.h"

namespace {

using Point = std::array<float, 3>;

struct Mesh {
    std::vector<float> positions;
    std::vector<VolumeTriangle> triangles;

    void Add(uint32_t a, uint32_t b, uint32_t c) {
        triangles.push_back({{a, b, c}, uint32_t(3 * triangles.size())});
    }
    Point At(uint32_t v) const { return {positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]}; }
};

// Unit cube of 8 shared corners, every face wound counter-clockwise seen from outside.
Mesh Cube() {
    Mesh m;
    for (int i = 0; i < 8; ++i)
        m.positions.insert(m.positions.end(), {float(i & 1), float((i >> 1) & 1), float((i >> 2) & 1)});
    // bottom first, so triangles 0 and 1 are the face turned away from a light above
    const uint32_t quads[6][4] = {{0, 1, 5, 4}, {2, 6, 7, 3}, {0, 2, 3, 1},
                                  {4, 5, 7, 6}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& q : quads) {
        m.Add(q[0], q[1], q[2]);
        m.Add(q[0], q[2], q[3]);
    }
    return m;
}

// A flat 2x2 square of two triangles at height 1, facing up: an open mesh.
Mesh OpenSquare() {
    Mesh m;
    m.positions = {0, 1, 0, 0, 1, 2, 2, 1, 2, 2, 1, 0};
    m.Add(0, 1, 2);
    m.Add(0, 2, 3);
    return m;
}

const VolumeLight kSunAbove{true, {0.0f, 1.0f, 0.0f}};
const VolumeLight kLampAbove{false, {0.5f, 4.0f, 0.5f}};

// The volume as one triangle soup: front cap, sides, and the back cap with its winding turned, since
// the technique draws the back cap with the face tests reversed.
std::vector<std::array<Point, 3>> VolumeSurface(const Mesh& m, const GroupVolumeGeometry& g,
                                                const VolumeLight& light) {
    // A corner past the positions (a damaged triangle, which no cap uses) holds its place with the origin.
    std::vector<Point> render;
    for (const VolumeTriangle& t : m.triangles)
        for (uint32_t c : t.corners) render.push_back(3 * c < m.positions.size() ? m.At(c) : Point{});
    std::vector<std::array<Point, 3>> out;
    for (size_t i = 0; i < g.capIndices.size(); i += 3) {
        std::array<Point, 3> front, back;
        for (int k = 0; k < 3; ++k) {
            front[k] = render[g.capIndices[i + k]];
            ExtrudeFromLight(front[k].data(), light, back[k].data(), g.extrusion);
        }
        out.push_back(front);
        out.push_back({back[0], back[2], back[1]});
    }
    auto side = [&](uint32_t i) {
        const float* v = &g.sideVertices[4 * i];
        EXPECT_EQ(v[3], 1.0f);
        return Point{v[0], v[1], v[2]};
    };
    for (size_t i = 0; i < g.sideIndices.size(); i += 3)
        out.push_back({side(g.sideIndices[i]), side(g.sideIndices[i + 1]), side(g.sideIndices[i + 2])});
    return out;
}

// Closed and consistently wound (every directed edge matched by the same edge walked the other way), and
// facing outwards: the sum of a . (b x c) / 6 is positive.
void ExpectClosedOutward(const std::vector<std::array<Point, 3>>& surface) {
    std::map<std::pair<Point, Point>, int> walked;
    double volume = 0.0;
    for (const auto& [a, b, c] : surface) {
        for (const auto& edge : {std::pair{a, b}, {b, c}, {c, a}}) ++walked[edge];
        volume += (a[0] * (double(b[1]) * c[2] - double(b[2]) * c[1]) - a[1] * (double(b[0]) * c[2] - double(b[2]) * c[0]) +
                   a[2] * (double(b[0]) * c[1] - double(b[1]) * c[0])) / 6.0;
    }
    for (const auto& [edge, n] : walked) {
        auto back = walked.find({edge.second, edge.first});
        EXPECT_EQ(back == walked.end() ? 0 : back->second, n) << "open edge";
    }
    EXPECT_GE(volume, 0.0);
}

// Where a point lands in normalised device coordinates under a column-major projection.
Point Project(const float m[16], const Point& p) {
    float clip[4];
    for (int r = 0; r < 4; ++r) clip[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
    EXPECT_GT(clip[3], 0.0f);
    return {clip[0] / clip[3], clip[1] / clip[3], clip[2] / clip[3]};
}

Point Along(const Point& p, const Point& d, float t) { return {p[0] + t * d[0], p[1] + t * d[1], p[2] + t * d[2]}; }

// Signed screen area of a small triangle around p whose normal n points at the light.
float LightFacingArea(const float m[16], const Point& p, const Point& n) {
    // Two directions across the normal, in right-handed order around it.
    Point u{n[1], -n[0], 0.0f};
    if (std::fabs(u[0]) + std::fabs(u[1]) < 1e-3f) u = {0.0f, n[2], -n[1]};
    const Point v{n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2], n[0] * u[1] - n[1] * u[0]};
    const Point a = Project(m, p), b = Project(m, Along(p, u, 0.01f)), c = Project(m, Along(p, v, 0.01f));
    return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
}

SceneLight Light(uint32_t type, float x, float y, float z, uint16_t index = 0) {
    return {type, {x, y, z}, {1.0f, 1.0f, 1.0f, 1.0f}, 0.0f, true, index};
}

// One group per name, each with one upward triangle; material 0 opaque, material 1 half transparent,
// material 2 opaque but marked to cast no shadow.
CMilkshapeModel Groups(std::initializer_list<std::pair<const char*, int>> groups) {
    CMilkshapeModel m;
    MeshBuilder mesh(m);
    MaterialSpec opaque, glass, decal;
    glass.transparency = 0.5f;
    decal.mode = 0x40;
    for (const MaterialSpec& material : {opaque, glass, decal}) mesh.AddMaterial(material);
    for (const auto& [name, material] : groups) {
        mesh.BeginGroup(name, material);
        mesh.AddFlatTriangle({0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {}, {}, {});
    }
    return m;
}

}  // namespace

// Each volume is closed and faces outwards: the cube under the sun, a lamp above it and a slanting sun over ground
// just below it; the open square through its border (the diagonal cancels), and nothing when lit from below; three
// fins walking one edge the same way (three quads stand on it); the square with repeated corners, a zero-area sliver
// and a corner past the vertex array, which are left out; the square with its second triangle on copies of the
// shared corners, one at -0: as they stand nothing pairs across the seam, welded no quads stand on it.
TEST(ShadowVolumes, SilhouettesAndCapsMakeClosedOutwardVolumesWithinTheirBoundsAndNearCapsCoverTheirPixels) {
    const VolumeLight lamp{false, {3.0f, 2.0f, -1.0f}}, slanting{true, {1.0f, 2.0f, 0.5f}, -1.0f};
    Mesh fins;
    fins.positions = {0, 0, 0, 0, 0, 1, 1, 0, 0, 0, -0.5f, -1, 0, 0.5f, -1};
    fins.Add(0, 1, 2);
    fins.Add(0, 1, 3);
    fins.Add(0, 1, 4);
    Mesh bad = OpenSquare();
    bad.positions.insert(bad.positions.end(), {1, 1, 1});  // vertex 4, on the diagonal from 0 to 2
    bad.Add(0, 0, 1);
    bad.Add(0, 4, 2);
    bad.Add(1, 2, 77);
    Mesh split = OpenSquare();
    split.positions.insert(split.positions.end(), {-0.0f, 1, 0, 2, 1, 2});
    split.triangles[1].corners[0] = 4;
    split.triangles[1].corners[1] = 5;
    Mesh welded = split;
    const std::vector<uint32_t> first = FirstAtSamePlace(split.positions.data(), 6);
    EXPECT_EQ(first, (std::vector<uint32_t>{0, 1, 2, 3, 0, 2}));
    for (VolumeTriangle& t : welded.triangles)
        for (uint32_t& c : t.corners) c = first[c];
    const struct {
        const char* name;
        Mesh mesh;
        VolumeLight light;
        int silhouette, degenerate;
        size_t sideIndices, capIndices;
    } cases[] = {
        {"cube, sun", Cube(), kSunAbove, 4, 0, 3 * 8, 30},  // the top and the four edge-on sides face it
        {"cube, lamp", Cube(), kLampAbove, 4, 0, 3 * 8, 6},  // only the top faces it
        {"cube, slanting sun", Cube(), slanting, 6, 0, 3 * 12, 18},
        {"square, sun", OpenSquare(), kSunAbove, 4, 0, 6 * 4, 6},
        {"square, lamp", OpenSquare(), lamp, 4, 0, 6 * 4, 6},
        {"square, from below", OpenSquare(), {true, {0.0f, -1.0f, 0.0f}}, 0, 0, 0, 0},
        {"fins", fins, kSunAbove, 3 + 3 * 2, 0, 6 * 9, 9},
        {"bad corners", bad, kSunAbove, 4, 3, 6 * 4, 6},
        {"split square", split, kSunAbove, 6, 0, 6 * 6, 6},
        {"welded square", welded, kSunAbove, 4, 0, 6 * 4, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const GroupVolumeGeometry g =
            BuildGroupVolume(c.mesh.triangles, c.mesh.positions.data(), c.mesh.positions.size() / 3, c.light);
        EXPECT_EQ(g.silhouette, c.silhouette);
        EXPECT_EQ(g.degenerate, c.degenerate);
        EXPECT_EQ(g.sideIndices.size(), c.sideIndices);
        EXPECT_EQ(g.capIndices.size(), c.capIndices);
        ExpectClosedOutward(VolumeSurface(c.mesh, g, c.light));
    }
    // Only the cube's bottom rim casts under the sun; a volume's bounds cover its extrusion, which over ground
    // no lower than -3 stops there.
    Mesh cube = Cube();
    GroupVolumeGeometry g = BuildGroupVolume(cube.triangles, cube.positions.data(), 8, kSunAbove);
    for (size_t i = 0; i < g.sideVertices.size(); i += 4)
        EXPECT_TRUE(g.sideVertices[i + 1] == 0.0f || g.sideVertices[i + 1] == -kShadowExtrusion);
    Mesh square = OpenSquare();
    g = BuildGroupVolume(square.triangles, square.positions.data(), 4, kSunAbove);
    EXPECT_FLOAT_EQ(g.boundsMin[1], 1.0f - kShadowExtrusion);
    EXPECT_FLOAT_EQ(g.boundsMax[1], 1.0f);
    EXPECT_FLOAT_EQ(g.boundsMin[0], 0.0f);
    EXPECT_FLOAT_EQ(g.boundsMax[2], 2.0f);
    VolumeLight overGround = kSunAbove;
    overGround.lowest = -3.0f;
    EXPECT_FLOAT_EQ(BuildGroupVolume(square.triangles, square.positions.data(), 4, overGround).boundsMin[1], -3.0f);

    // Caps between the light and the near plane land on the pixels behind them.
    constexpr float kNear = 0.2f;
    const float nearHeight = 2.0f * kNear * std::tan(30.0f * kPi / 180.0f), nearWidth = nearHeight * 4.0f / 3.0f;
    const Point onNearPlane{0.05f, -0.03f, -kNear};
    const Point want{onNearPlane[0] / (0.5f * nearWidth), onNearPlane[1] / (0.5f * nearHeight), -1.0f};
    const float length = std::sqrt(0.09f + 0.64f + 0.25f);
    // Lamps in front of and behind the near plane, suns towards and away from the viewer.
    const float lights[][4] = {{1.0f, 2.0f, 3.0f, 1.0f}, {0.5f, 0.3f, -10.0f, 1.0f},
                               {0.3f / length, 0.8f / length, 0.5f / length, 0.0f},
                               {0.3f / length, 0.8f / length, -0.5f / length, 0.0f}};
    for (const float* light : lights) {
        SCOPED_TRACE(light[2]);
        float m[16];
        bool frontFacing = false;
        NearPlaneCapProjection(light, kNear, nearWidth, nearHeight, m, frontFacing);
        EXPECT_EQ(frontFacing, light[3] == 1.0f ? light[2] > -kNear : light[2] > 0.0f);
        // A lamp's projection takes coordinates relative to it, a sun's plain ones.
        const Point shift{light[3] * light[0], light[3] * light[1], light[3] * light[2]};
        const Point towards = light[3] == 1.0f ? Along({light[0], light[1], light[2]}, onNearPlane, -1.0f)
                                               : Point{light[0], light[1], light[2]};
        const Point relative = Along(onNearPlane, shift, -1.0f);
        // An occluder half-way towards the light covers the near-plane point's pixel, facing as told;
        // past the near plane, seen from the light, nothing is drawn.
        const Point between = Along(relative, towards, 0.5f);
        const Point got = Project(m, between);
        EXPECT_NEAR(got[0], want[0], 1e-4f);
        EXPECT_NEAR(got[1], want[1], 1e-4f);
        EXPECT_GT(got[2], -1.0f);
        EXPECT_LT(got[2], 1.0f);
        EXPECT_GT(Project(m, Along(relative, towards, -0.5f))[2], 1.0f);
        EXPECT_EQ(LightFacingArea(m, between, towards) > 0.0f, frontFacing);
    }
}

TEST(ShadowCasters, GroupNamesMaterialsAndLightTypesDecideStrayLightNumbersAndSunsWithoutDirection) {
    CMilkshapeModel m = Groups({{"T", 0}, {"M", 0}, {"A", 0}, {"rock", 0}, {"glass", 1}, {"decal", 2}, {"bare", -1}});
    const SceneLight sun = Light(LIGHT_SUN, 0, 1, 0);
    const SceneLight lamp = Light(LIGHT_POINT, 0, 5, 0);
    const bool sunCasts[] = {false, false, false, true, false, false, false};
    const bool lampCasts[] = {true, true, true, true, false, false, false};
    for (size_t g = 0; g < m.groups.size(); ++g) {
        EXPECT_EQ(ShouldGroupCast(m, g, sun), sunCasts[g]) << m.groups[g].name;
        EXPECT_EQ(ShouldGroupCast(m, g, lamp), lampCasts[g]) << m.groups[g].name;
    }
    // A light numbered past the list still gets its facing slot; a sun without a direction casts nothing and says so.
    GameTreeSandbox sandbox;
    ClearTrackSettings(gTrackSettings);
    gTrackSettings.lights = {Light(LIGHT_SUN, 0, 1, 0, 0), Light(LIGHT_POINT, 0, 5, 0, 1)};
    // Only groups that cast nothing for this light, so no GL buffer is made.
    CMilkshapeModel none = Groups({{"T", 0}, {"glass", 1}});
    CStaticShadowVolume stray(nullptr, &none, 0, Light(LIGHT_SUN, 0, 1, 0, 5));
    EXPECT_EQ(none.triangles[0].lightFacing.size(), 6u);
    CMilkshapeModel rock = Groups({{"rock", 0}});
    CStaticShadowVolume dark(nullptr, &rock, 0, Light(LIGHT_SUN, 0, 0, 0, 0));
    EXPECT_EQ(dark.groupVolumes[0], nullptr);
    EXPECT_TRUE(Logged("Light 0 has no direction and casts no shadow"));
}
