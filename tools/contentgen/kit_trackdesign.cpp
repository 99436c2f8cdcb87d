#include "trackdesign.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/gamedefs.h"
#include "data/trackscript.h"
#include "pattern.h"
#include "random.h"
#include "scene/transformation.h"
#include "trackpieces.h"

namespace {

const TrackTheme kThemes[] = {
    // name, shape, floor, wall, lamps, lamp colour
    {"desert canyon", SHAPE_CANYON, "sand", "redrock", false, {0, 0, 0}},
    {"sandstone tunnels", SHAPE_TUNNEL, "sandstone", "sandstone", true, {1.0f, 0.75f, 0.45f}},
    {"ring desert", SHAPE_OPEN, "dunes", "metal", false, {0, 0, 0}},
    {"night canyon", SHAPE_CANYON, "darksand", "basalt", true, {0.6f, 0.75f, 1.0f}},
    {"tower field", SHAPE_OPEN, "concrete", "metal", false, {0, 0, 0}},
    {"ice tube", SHAPE_TUNNEL, "ice", "ice", true, {0.55f, 0.75f, 1.0f}},
    {"dusk canyon", SHAPE_CANYON, "sand", "orangerock", false, {0, 0, 0}},
    {"foundry", SHAPE_TUNNEL, "rust", "rust", true, {1.0f, 0.55f, 0.25f}},
    {"chalk gorge", SHAPE_CANYON, "salt", "chalk", false, {0, 0, 0}},
    {"lava tube", SHAPE_TUNNEL, "lava", "basalt", true, {1.0f, 0.35f, 0.1f}},
    {"salt flats", SHAPE_OPEN, "salt", "chalk", false, {0, 0, 0}},
    {"jade canyon", SHAPE_CANYON, "moss", "jade", false, {0, 0, 0}},
    {"crystal cave", SHAPE_TUNNEL, "crystal", "crystal", true, {0.8f, 0.5f, 1.0f}},
    {"snowfield", SHAPE_OPEN, "snow", "ice", false, {0, 0, 0}},
    {"steelworks", SHAPE_TUNNEL, "metal", "concrete", true, {0.7f, 0.85f, 1.0f}},
    {"reactor", SHAPE_TUNNEL, "metal", "jade", true, {0.4f, 1.0f, 0.5f}},
};

// Themes repeat; each track has its own light, colour, set piece and hard stretch.
const TrackDesign kDesigns[] = {
    // title, theme, seed, vehicle, sky, sun, tint, fog, ambient, set piece, feature
    {"Dust Canyon", -1, 0, 0, "day", {0.8f, 0.7f, 0.2f}, {1, 1, 1}, {0.78f, 0.68f, 0.55f, 0.005f},
     {0.5f, 0.46f, 0.42f}, PIECE_ARCHES, FEATURE_ESSES},
    {"Dune Rings", 2, 17, 0, "noon", {0.2f, 1.0f, 0.1f}, {1.05f, 0.95f, 0.75f}, {0.95f, 0.88f, 0.7f, 0.003f},
     {0.55f, 0.5f, 0.42f}, PIECE_RINGS, FEATURE_ESSES},
    {"Sandstone Run", 1, 13, 0, "day", {0, 0, 0}, {1, 1, 1}, {0, 0, 0, 0}, {0.3f, 0.28f, 0.25f}, PIECE_RIBS,
     FEATURE_CLIMB},
    {"Red Rock Canyon", 6, 14, 0, "dusk", {-0.8f, 0.35f, -0.3f}, {1.1f, 0.8f, 0.7f}, {0.7f, 0.45f, 0.3f, 0.005f},
     {0.45f, 0.36f, 0.34f}, PIECE_ARCHES, FEATURE_DROP},
    {"Mesa Slalom", 4, 15, 0, "dawn", {0.7f, 0.3f, -0.6f}, {1.0f, 0.85f, 0.85f}, {0.85f, 0.65f, 0.7f, 0.004f},
     {0.5f, 0.42f, 0.46f}, PIECE_TOWERS, FEATURE_ESSES},
    {"Moonlit Ravine", 3, 16, 0, "night", {0, 0, 0}, {0.8f, 0.9f, 1.1f}, {0.05f, 0.06f, 0.12f, 0.009f},
     {0.24f, 0.28f, 0.45f}, PIECE_LIGHTFALL, FEATURE_CLIMB},
    {"Frost Pipe", 5, 21, 1, "storm", {0, 0, 0}, {1, 1, 1}, {0.6f, 0.72f, 0.85f, 0.009f}, {0.4f, 0.45f, 0.5f},
     PIECE_CRYSTALS, FEATURE_DROP},
    {"Copper Works", 7, 22, 1, "storm", {0, 0, 0}, {1.1f, 0.9f, 0.7f}, {0.25f, 0.12f, 0.05f, 0.01f},
     {0.3f, 0.25f, 0.22f}, PIECE_SPIRAL, FEATURE_ESSES},
    {"Hoop Valley", 13, 23, 1, "storm", {0.3f, 0.7f, 0.6f}, {0.75f, 0.85f, 1.0f}, {0.55f, 0.62f, 0.72f, 0.006f},
     {0.45f, 0.5f, 0.6f}, PIECE_PYLONS, FEATURE_CLIMB},
    {"Dust Devil Gorge", 8, 24, 1, "dust", {0.5f, 0.6f, 0.5f}, {1.0f, 0.9f, 0.75f}, {0.7f, 0.58f, 0.42f, 0.007f},
     {0.5f, 0.44f, 0.38f}, PIECE_PYLONS, FEATURE_ESSES},
    {"Skyline Spires", 4, 25, 1, "violet", {-0.6f, 0.3f, 0.6f}, {0.85f, 0.8f, 1.1f}, {0.45f, 0.35f, 0.6f, 0.004f},
     {0.4f, 0.36f, 0.5f}, PIECE_WRECK, FEATURE_DROP},
    {"Night Shift", 14, 26, 1, "night", {0, 0, 0}, {0.45f, 0.7f, 1.1f}, {0.04f, 0.08f, 0.16f, 0.01f},
     {0.3f, 0.36f, 0.5f}, PIECE_LIGHTFALL, FEATURE_CLIMB},
    {"Ember Canyon", 0, 31, 2, "blood", {-0.5f, 0.25f, -0.7f}, {1.15f, 0.7f, 0.6f}, {0.45f, 0.12f, 0.08f, 0.006f},
     {0.45f, 0.3f, 0.28f}, PIECE_PYLONS, FEATURE_DROP},
    {"Glacier Bore", 12, 32, 2, "storm", {0, 0, 0}, {1, 1, 1}, {0.3f, 0.2f, 0.45f, 0.008f}, {0.4f, 0.35f, 0.5f},
     PIECE_CRYSTALS, FEATURE_ESSES},
    {"Foundry Loop", 9, 33, 2, "storm", {0, 0, 0}, {1, 1, 1}, {0.3f, 0.08f, 0.02f, 0.009f}, {0.35f, 0.25f, 0.2f},
     PIECE_LIGHTFALL, FEATURE_CLIMB},
    {"Ring of Mirages", 10, 34, 2, "dust", {0.1f, 1.0f, 0.3f}, {1.0f, 0.95f, 0.8f}, {0.9f, 0.8f, 0.6f, 0.005f},
     {0.6f, 0.56f, 0.5f}, PIECE_RINGS, FEATURE_ESSES},
    {"Obsidian Night", 3, 35, 2, "aurora", {0, 0, 0}, {0.7f, 1.0f, 0.85f}, {0.02f, 0.1f, 0.08f, 0.008f},
     {0.2f, 0.35f, 0.3f}, PIECE_SPIRAL, FEATURE_DROP},
    {"Sentinel Towers", 2, 36, 2, "storm", {0.4f, 0.8f, -0.4f}, {0.8f, 0.85f, 0.9f}, {0.55f, 0.58f, 0.62f, 0.005f},
     {0.42f, 0.44f, 0.48f}, PIECE_TOWERS, FEATURE_CLIMB},
    {"Viper Gorge", 11, 41, 3, "day", {0.5f, 0.8f, 0.3f}, {1, 1, 1}, {0.55f, 0.7f, 0.55f, 0.005f},
     {0.42f, 0.5f, 0.42f}, PIECE_ARCHES, FEATURE_ESSES},
    {"Deep Freeze", 5, 42, 3, "night", {0, 0, 0}, {0.4f, 0.5f, 0.85f}, {0.02f, 0.05f, 0.15f, 0.012f},
     {0.2f, 0.25f, 0.4f}, PIECE_SPIRAL, FEATURE_CLIMB},
    {"Reactor Core", 15, 43, 3, "storm", {0, 0, 0}, {0.4f, 1.2f, 0.5f}, {0.05f, 0.25f, 0.12f, 0.009f},
     {0.3f, 0.5f, 0.3f}, PIECE_LIGHTFALL, FEATURE_DROP},
    {"Blood Moon Pass", 3, 44, 3, "blood", {0.3f, 0.5f, -0.8f}, {1.0f, 0.65f, 0.65f}, {0.35f, 0.08f, 0.06f, 0.005f},
     {0.5f, 0.3f, 0.3f}, PIECE_LIGHTFALL, FEATURE_CLIMB},
    {"Halo Gauntlet", 10, 45, 3, "aurora", {0, 0, 0}, {0.7f, 0.9f, 1.0f}, {0.05f, 0.15f, 0.2f, 0.004f},
     {0.3f, 0.4f, 0.45f}, PIECE_RINGS, FEATURE_DROP},
    {"The Last Canyon", 8, 46, 3, "violet", {0.6f, 0.25f, 0.7f}, {0.7f, 0.6f, 1.2f}, {0.5f, 0.35f, 0.6f, 0.005f},
     {0.45f, 0.4f, 0.52f}, PIECE_WRECK, FEATURE_CLIMB},
};
static_assert(sizeof(kDesigns) / sizeof(kDesigns[0]) == kNumTracks, "one design row for every track slot of the game");

// How a shape's centre line and cross-section grow harder with difficulty d in [0, 1].
struct ShapeRules {
    float segment, segmentsBase, segmentsGrow, turnBase, turnGrow, climbBase, climbGrow, sizeBase, sizeShrink;
};

const ShapeRules& RulesOf(TrackShape shape) {
    static const ShapeRules canyon = {80, 9, 12, 28, 40, 2, 8, 12, 5};
    static const ShapeRules tunnel = {70, 9, 12, 32, 36, 3, 12, 9, 3};
    static const ShapeRules open = {140, 7, 7, 18, 14, 3, 10, 11, 3};
    return shape == SHAPE_CANYON ? canyon : shape == SHAPE_TUNNEL ? tunnel : open;
}

Vec3 Heading(float yawDegrees) {
    const float r = yawDegrees * kPi / 180.0f;
    return {std::sin(r), 0.0f, -std::cos(r)};
}

// A wandering line that never comes back near itself, with the design's hard stretch halfway: a steep climb,
// a steep drop (the line starts high for it) or tight esses.
std::vector<Vec3> ControlPoints(const TrackDesign& design, float d, float gap) {
    const ShapeRules& r = RulesOf(ThemeOf(design).shape);
    Random rng(design.seed);
    const int segments = int(r.segmentsBase + r.segmentsGrow * d);
    const float maxTurn = r.turnBase + r.turnGrow * d, maxClimb = r.climbBase + r.climbGrow * d;
    const float startHeight = design.feature == FEATURE_DROP ? 120.0f : 40.0f;
    std::vector<Vec3> points = {{0, startHeight, 0}, {0, startHeight, -r.segment}};
    float yaw = 0.0f;
    const int featureAt = segments / 2;
    // The hard stretch is gentler on the first tracks. Esses on the hardest are as tight as the section
    // allows without its inner side folding over itself.
    const float severity = 0.6f + 0.4f * d;
    const float essScale = (ThemeOf(design).shape == SHAPE_OPEN ? 0.8f : 1.0f) * severity;
    const float essTurns[3] = {50.0f * essScale, -100.0f * essScale, 50.0f * essScale};
    for (int i = 0; i < segments; i++) {
        const int stage = i - featureAt;  // 0, 1, 2 within the hard stretch
        const bool hard = stage >= 0 && stage < 3 && design.feature != FEATURE_NONE;
        const float rise = 30.0f * severity;
        const float climb = !hard ? 0.0f : design.feature == FEATURE_CLIMB ? rise : design.feature == FEATURE_DROP ? -rise : 0.0f;
        Vec3 best;
        float bestGap = -1.0f, bestYaw = yaw;
        for (int attempt = 0; attempt < 16 && bestGap < gap; attempt++) {
            float tryYaw = yaw + rng.Range(-maxTurn, maxTurn);
            float length = r.segment;
            if (hard && design.feature == FEATURE_ESSES) {
                const float side = design.seed % 2 ? 1.0f : -1.0f;
                tryYaw = yaw + side * essTurns[stage] + rng.Range(-5.0f, 5.0f);
            }
            if (hard && climb != 0.0f)
                tryYaw = yaw + rng.Range(-5.0f, 5.0f), length = std::max(50.0f, r.segment * 0.6f);
            Vec3 p = points.back() + Heading(tryYaw) * length;
            p.y = climb != 0.0f ? points.back().y + climb
                                : std::max(15.0f, std::min(150.0f, p.y + rng.Range(-maxClimb, maxClimb)));
            float nearest = 1e9f;
            for (size_t k = 0; k + 2 < points.size(); k++)
                nearest = std::min(nearest, Len(points[k] - p));
            if (nearest > bestGap)
                best = p, bestGap = nearest, bestYaw = tryYaw;
        }
        points.push_back(best);
        yaw = bestYaw;
    }
    return points;
}

// What a stretch of the cross-section is made of, from its point to the next.
enum ProfilePart { PART_FLOOR, PART_WALL, PART_LID, PART_COUNT };

struct ProfilePoint {
    float side, up;
    ProfilePart part;
};

// Cross-section of the shape as a closed loop, walking from the left across the floor to the right and back
// over the top. Canyon walls lean in to an overhang under a lid; open ground is ringed by a ridge under a
// high lid; a tunnel closes on itself.
std::vector<ProfilePoint> ProfileOf(TrackShape shape, float size) {
    const float w = size;
    if (shape == SHAPE_CANYON)
        return {{-w + 4, 32, PART_WALL}, {-w - 3, 26, PART_WALL},   {-w - 4, 18, PART_WALL},   {-w - 2, 8, PART_WALL},
             {-w, 1, PART_WALL},      {-w * 0.7f, -4, PART_FLOOR}, {-w * 0.3f, -6, PART_FLOOR}, {0, -6.2f, PART_FLOOR},
             {w * 0.3f, -6, PART_FLOOR}, {w * 0.7f, -4, PART_WALL}, {w, 1, PART_WALL},          {w + 2, 8, PART_WALL},
             {w + 4, 18, PART_WALL},  {w + 3, 26, PART_WALL},    {w - 4, 32, PART_LID}};
    if (shape == SHAPE_OPEN)
        return {{-60, 50, PART_WALL},  {-68, 35, PART_WALL},  {-66, 10, PART_WALL},  {-60, -14, PART_FLOOR},
                {-30, -14, PART_FLOOR}, {-12, -14, PART_FLOOR}, {0, -14, PART_FLOOR},  {12, -14, PART_FLOOR},
                {30, -14, PART_FLOOR},  {60, -14, PART_WALL},   {66, 10, PART_WALL},   {68, 35, PART_WALL},
                {60, 50, PART_LID}};
    std::vector<ProfilePoint> p;
    for (int k = 0; k < 12; k++) {
        const float a = float(k) / 12.0f * 2.0f * kPi + kPi;  // starts at the left, goes under
        const ProfilePart part = k >= 1 && k < 5 ? PART_FLOOR : PART_WALL;
        p.push_back({std::cos(a) * size * 1.25f, std::sin(a) * size, part});
    }
    return p;
}

// The box around a cross-section: half its width, its lowest and highest point.
struct ProfileExtent {
    float half, lower, upper;
};

ProfileExtent ExtentOf(const std::vector<ProfilePoint>& profile) {
    ProfileExtent e{0.0f, 1e9f, -1e9f};
    for (const ProfilePoint& q : profile) {
        e.half = std::max(e.half, std::fabs(q.side));
        e.lower = std::min(e.lower, q.up);
        e.upper = std::max(e.upper, q.up);
    }
    return e;
}

// Sweeps the closed cross-section along the path into groups of a few dozen rings, so the renderer can cull
// them; each part of the section gets its own groups and material.
void Sweep(MeshBuilder& mb, const std::vector<PathFrame>& path, const std::vector<ProfilePoint>& profile,
           const int materials[PART_COUNT], float roughness, unsigned seed) {
    constexpr size_t kRingsPerGroup = 24;
    const size_t n = profile.size();
    auto next = [n](size_t k) { return (k + 1) % n; };
    std::vector<float> arc(n + 1, 0.0f);
    for (size_t k = 0; k < n; k++)
        arc[k + 1] = arc[k] + std::hypot(profile[next(k)].side - profile[k].side, profile[next(k)].up - profile[k].up);
    int groupNumber = 0;
    for (size_t first = 0; first + 1 < path.size(); first += kRingsPerGroup) {
        const size_t last = std::min(path.size() - 1, first + kRingsPerGroup);
        for (int part = 0; part < PART_COUNT; part++) {
            bool used = false;
            for (const ProfilePoint& q : profile)
                used = used || q.part == part;
            if (!used)
                continue;
            char name[16];
            snprintf(name, sizeof(name), "%c%d", "fwl"[part], groupNumber);
            mb.BeginGroup(name, materials[part]);
            std::vector<uint16_t> rows;
            for (size_t i = first; i <= last; i++)
                for (size_t k = 0; k < n; k++) {
                    // Walls are pushed outward by noise, never into the flying space; a lid stays smooth.
                    const bool smooth = profile[k].part == PART_LID || profile[(k + n - 1) % n].part == PART_LID;
                    const float bump =
                        smooth ? 0.0f : roughness * FractalNoise(float(i) * 0.35f, float(k) * 1.3f, seed, 3);
                    const float len = std::hypot(profile[k].side, profile[k].up);
                    const float grow = len > 0.0f ? 1.0f + bump / len : 1.0f;
                    rows.push_back(mb.AddVertex(Place(path[i], profile[k].side * grow, profile[k].up * grow)));
                }
            for (size_t i = first; i < last; i++)
                for (size_t k = 0; k < n; k++) {
                    if (profile[k].part != part)
                        continue;
                    const size_t k1 = next(k);
                    const uint16_t a = rows[(i - first) * n + k], b = rows[(i - first) * n + k1];
                    const uint16_t c = rows[(i + 1 - first) * n + k1], dd = rows[(i + 1 - first) * n + k];
                    const float t0 = path[i].distance / 8.0f, t1 = path[i + 1].distance / 8.0f;
                    const UV ua{arc[k] / 8.0f, t0}, ub{arc[k + 1] / 8.0f, t0}, uc{arc[k + 1] / 8.0f, t1},
                        ud{arc[k] / 8.0f, t1};
                    // Faces point at the centre line, where the vehicle flies.
                    const Vec3 pa = Place(path[i], profile[k].side, profile[k].up);
                    const Vec3 pb = Place(path[i], profile[k1].side, profile[k1].up);
                    const Vec3 pd = Place(path[i + 1], profile[k].side, profile[k].up);
                    Vec3 normal = Normalized(Cross(pb - pa, pd - pa));
                    const bool inward = Dot(normal, path[i].pos - pa) > 0.0f;
                    if (!inward)
                        normal = normal * -1.0f;
                    const Vec3 normals[3] = {normal, normal, normal};
                    if (inward) {
                        const UV u1[3] = {ua, ub, uc}, u2[3] = {ua, uc, ud};
                        mb.AddTriangle(a, b, c, normals, u1);
                        mb.AddTriangle(a, c, dd, normals, u2);
                    } else {
                        const UV u1[3] = {ua, uc, ub}, u2[3] = {ua, ud, uc};
                        mb.AddTriangle(a, c, b, normals, u1);
                        mb.AddTriangle(a, dd, c, normals, u2);
                    }
                }
        }
        groupNumber++;
    }
}

float Difficulty(int index) {
    return float(index) / float(kNumTracks - 1);
}

void Scenery(MeshBuilder& mb, const TrackTheme& theme, const std::vector<PathFrame>& path, float size, Random& rng,
             int rockMaterial, int lampMaterial, std::vector<PointLamp>& lamps) {
    const float length = path.back().distance;
    auto frameAt = [&](float distance) -> const PathFrame& {
        return path[std::min(path.size() - 1, size_t(distance / 3.0f))];
    };
    SectionedGroup scenery(mb, "scenery", rockMaterial);
    if (theme.shape == SHAPE_CANYON) {
        for (float s = 30.0f; s < length - 30.0f; s += rng.Range(18.0f, 40.0f)) {
            // Scenery never reaches through a wall: a vehicle pushed off its far faces would land outside.
            const PathFrame& f = frameAt(s);
            const float r = rng.Range(1.0f, 2.2f);
            const float side = (rng.Unit() < 0.5f ? -1.0f : 1.0f) * (size * 0.7f - r - 0.3f);
            scenery.At(s);
            FrameBox(mb, f, Place(f, side, -5.0f + r * 0.6f), r, r, r * 1.3f);
        }
    }
    if (theme.lamps) {
        SectionedGroup lampGroup(mb, "lamps", lampMaterial);
        for (float s = 25.0f; s < length - 10.0f; s += 55.0f) {
            const PathFrame& f = frameAt(s);
            lampGroup.At(s);
            const float up = theme.shape == SHAPE_TUNNEL ? size - 1.0f : 2.0f;
            const float side = theme.shape == SHAPE_TUNNEL ? 0.0f : (lamps.size() % 2 ? size - 0.8f : -size + 0.8f);
            const Vec3 at = Place(f, side, up);
            FrameBox(mb, f, at, 0.5f, 0.25f, 0.9f);
            lamps.push_back({Place(f, side * 0.8f, up - 1.5f),
                             {theme.lampColour[0], theme.lampColour[1], theme.lampColour[2]}, 45.0f});
        }
    }
}

// Closes both ends of the swept section so nobody flies out of the world. The caps are thicker than a
// vehicle's reach, so one touching both faces at once is never pushed out through the far one.
void EndCaps(MeshBuilder& mb, const std::vector<PathFrame>& path, const ProfileExtent& e, float roughness,
             int material) {
    mb.BeginGroup("ends", material);
    const float grow = roughness + 1.0f, thick = 2.0f;
    for (const PathFrame* f : {&path.front(), &path.back()}) {
        const float outward = f == &path.front() ? -thick : thick;
        FrameBox(mb, *f, Place(*f, 0.0f, (e.upper + e.lower) * 0.5f) + f->forward * outward, e.half + grow,
                 (e.upper - e.lower) * 0.5f + grow, thick);
    }
}

void GoalGate(MeshBuilder& mb, const PathFrame& f, float halfWidth, float bottom, float top) {
    const float bar = 0.5f;
    FrameBox(mb, f, Place(f, -halfWidth, (bottom + top) * 0.5f), bar, (top - bottom) * 0.5f, bar);
    FrameBox(mb, f, Place(f, halfWidth, (bottom + top) * 0.5f), bar, (top - bottom) * 0.5f, bar);
    FrameBox(mb, f, Place(f, 0.0f, top), halfWidth, bar, bar);
    FrameBox(mb, f, Place(f, 0.0f, bottom + 0.3f), halfWidth, 0.15f, 2.0f);
}

std::string TexturePath(const char* name) {
    return std::string("..\\Textures\\") + name + ".jpg";
}

// A see-through lid casts no shadow (it is not opaque) and costs one blended pass of large triangles: glass
// over canyons, a faint glowing field over open ground.
int LidMaterial(MeshBuilder& mb, const TrackTheme& theme) {
    MaterialSpec m;
    m.name = "lid";
    const bool field = theme.shape == SHAPE_OPEN;
    m.texture = TexturePath(field ? "field" : "glass");
    m.transparency = field ? 0.35f : 0.3f;
    for (int k = 0; k < 3; k++)
        m.emissive[k] = field ? 0.5f : 0.2f;
    return mb.AddMaterial(m);
}

}  // namespace

const TrackTheme& ThemeOf(const TrackDesign& design) {
    return kThemes[design.theme < 0 ? 0 : design.theme];
}

const TrackDesign& DesignOf(int track) {
    return kDesigns[track];
}

float YawOf(const Vec3& forward) {
    return std::atan2(forward.x, -forward.z) * 180.0f / kPi;
}

bool BuildTrack(int index, TrackLayout& out) {
    const TrackDesign& design = kDesigns[index];
    if (design.theme < 0)
        return false;
    const TrackTheme& theme = ThemeOf(design);
    const float d = Difficulty(index);
    const ShapeRules& rules = RulesOf(theme.shape);
    const float size = rules.sizeBase - rules.sizeShrink * d;
    const float gap = theme.shape == SHAPE_OPEN ? 360.0f : 4.0f * size + 60.0f;
    out.path = SamplePath(ControlPoints(design, d, gap), 3.0f);
    if (out.path.size() < 40)
        return false;

    out.model.Clear();
    MeshBuilder mb(out.model);
    // Surfaces take the design's tint; the set pieces glow in the lamps' colour, or the tint where there are none.
    auto material = [&mb](const char* name, const char* texture, const float* tint, float emissive, float transparency,
                        uint8_t mode = 0) {
        MaterialSpec m;
        m.name = name;
        m.texture = TexturePath(texture);
        m.transparency = transparency;
        m.mode = mode;
        for (int k = 0; k < 3; k++) {
            m.ambient[k] = 0.7f * tint[k], m.diffuse[k] = 0.9f * tint[k], m.emissive[k] = emissive * tint[k];
        }
        return mb.AddMaterial(m);
    };
    const float plain[3] = {1, 1, 1};
    const float* glow = theme.lamps ? theme.lampColour : design.tint;
    // Nothing lies under the floor for it to shadow.
    const int floorMaterial = material("floor", theme.floorTexture, design.tint, 0.0f, 1.0f, kModeCastsNoShadow);
    const int wallMaterial = material("wall", theme.wallTexture, design.tint, 0.0f, 1.0f);
    // The rough walls are open sheets: under a sun they throw only slivers, where the noise turns a face
    // towards it, and those long thin volumes cost more than any shadow a player sees. The walls take the sun
    // by their facing; scenery, set pieces and the end caps still cast.
    const int sweptWallMaterial = material("wall", theme.wallTexture, design.tint, 0.0f, 1.0f, kModeCastsNoShadow);
    const int lampMaterial = material("lamp", "lamp", plain, 0.8f, 1.0f);
    const int goalMaterial = material("G", "goal", plain, 0.9f, 1.0f);  // "G": seen, never collided with
    const SceneryMaterials pieces = {wallMaterial, lampMaterial, material("G", "crystal", glow, 0.8f, 1.0f),
                                     material("G", theme.shape == SHAPE_TUNNEL ? "rust" : "metal", plain, 0.1f, 1.0f),
                                     material("G", "lightfall", glow, 1.0f, 0.5f)};

    const std::vector<ProfilePoint> profile = ProfileOf(theme.shape, size);
    const float roughness = theme.shape == SHAPE_OPEN ? 1.5f : 2.5f;
    const int partMaterials[PART_COUNT] = {floorMaterial, sweptWallMaterial, LidMaterial(mb, theme)};
    Sweep(mb, out.path, profile, partMaterials, roughness, design.seed);
    Random rng(design.seed * 7u + 3u);
    out.lamps.clear();
    Scenery(mb, theme, out.path, size, rng, wallMaterial, lampMaterial, out.lamps);
    SetPieces(mb, design, out.path, size, RoomOf(theme.shape, size), rng, pieces);
    EndCaps(mb, out.path, ExtentOf(profile), roughness, wallMaterial);

    // The race starts a few metres into the track and ends in a gate near its far end.
    const PathFrame& start = out.path[3];
    out.start = start.pos;
    out.startYaw = YawOf(start.forward);
    const size_t goalIndex = out.path.size() - 7;
    const float halfWidth = theme.shape == SHAPE_OPEN ? size + 2.0f : size * 0.95f;
    const float bottom = theme.shape == SHAPE_CANYON ? -6.0f : theme.shape == SHAPE_TUNNEL ? -size * 0.9f : -size;
    const float top = theme.shape == SHAPE_CANYON ? 22.0f : theme.shape == SHAPE_TUNNEL ? size * 0.9f : size;
    mb.BeginGroup("goal", goalMaterial);
    GoalGate(mb, out.path[goalIndex], halfWidth, bottom, top);
    mb.BeginGroup("startline", goalMaterial);
    FrameBox(mb, start, Place(start, 0.0f, bottom + 0.3f), halfWidth, 0.15f, 0.6f);

    BoundingBox goal;
    for (size_t i = goalIndex - 1; i <= goalIndex + 2; i++)
        for (float s : {-halfWidth, halfWidth})
            for (float u : {bottom, top}) {
                const Vec3 p = Place(out.path[i], s, u);
                goal.AddPoint(p.x, p.y, p.z);
            }
    for (int k = 0; k < 3; k++)
        out.goalMin[k] = goal.min[k], out.goalMax[k] = goal.max[k];
    if (!mb.ok()) {
        fprintf(stderr, "contentgen: track %d is too big for a model file\n", index + 1);
        return false;
    }
    return true;
}

float Track1CentreX(float z) {
    const float t = std::max(0.0f, (kTrack1StraightZ - z) / (kTrack1StraightZ - kTrack1GoalZ));
    return 30.0f * std::sin(3.0f * kPi * t) * std::sin(kPi * t);
}

void HandPath(const TrackSettings& s, TrackLayout& layout) {
    const Vec3 from{s.vehicleStartPosition[0], s.vehicleStartPosition[1] + 1.0f, s.vehicleStartPosition[2]};
    const float toZ = (s.goalMin[2] + s.goalMax[2]) * 0.5f;
    const int steps = int(std::fabs(toZ - from.z) / 3.0f) + 1;
    layout.path.clear();
    for (int k = 0; k <= steps; k++) {
        PathFrame f;
        f.pos.z = from.z + (toZ - from.z) * float(k) / float(steps);
        f.pos = {Track1CentreX(f.pos.z), from.y, f.pos.z};
        layout.path.push_back(f);
    }
}

std::vector<AutopilotPoint> RouteOf(const TrackLayout& layout) {
    std::vector<AutopilotPoint> route;
    for (const PathFrame& f : layout.path)
        route.push_back({{f.pos.x, f.pos.y, f.pos.z}});
    return route;
}

// The fastest clean flight of a few attempts, each a little more careful than the last.
bool FlyTrack(int index, const TrackLayout& layout, AutopilotFlight& best) {
    for (float care : {1.0f, 0.8f, 0.65f, 0.5f}) {
        CHeadlessRace race;
        if (!race.Load(index, DesignOf(index).vehicle))
            return false;
        AutopilotTuning tuning;
        tuning.maxSpeed = race.dynamics.maxSpeed * care;
        best = FlyRoute(race, RouteOf(layout), tuning, 1.0f / 60.0f, 600.0f, 0.1f);
        if (best.outcome.finished && best.outcome.damage < 40)
            return true;
    }
    return false;
}
