#include "trackdesign.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/trackscript.h"
#include "pattern.h"
#include "random.h"
#include "scene/transformation.h"

namespace {

constexpr float kPi = 3.14159265f;

const TrackTheme kThemes[] = {
    // name, shape, floor, wall, sky, sun, lamps, lamp colour, fog, ambient, rings, towers, arches
    {"desert canyon", SHAPE_CANYON, "sand", "redrock", "day", true, false, {0, 0, 0}, {0, 0, 0, 0},
     {0.45f, 0.42f, 0.4f}, false, false, true},
    {"sandstone tunnels", SHAPE_TUNNEL, "sandstone", "sandstone", "day", false, true, {1.0f, 0.75f, 0.45f},
     {0, 0, 0, 0}, {0.3f, 0.28f, 0.25f}, false, false, false},
    {"ring desert", SHAPE_OPEN, "dunes", "metal", "day", true, false, {0, 0, 0}, {0.85f, 0.8f, 0.7f, 0.0035f},
     {0.5f, 0.48f, 0.45f}, true, true, false},
    {"night canyon", SHAPE_CANYON, "darksand", "basalt", "night", false, true, {0.6f, 0.75f, 1.0f},
     {0.05f, 0.06f, 0.12f, 0.009f}, {0.24f, 0.28f, 0.45f}, false, false, true},
    {"tower field", SHAPE_OPEN, "concrete", "metal", "dusk", true, false, {0, 0, 0}, {0.6f, 0.45f, 0.4f, 0.004f},
     {0.45f, 0.4f, 0.4f}, true, true, false},
    {"ice tube", SHAPE_TUNNEL, "ice", "ice", "storm", false, true, {0.55f, 0.75f, 1.0f}, {0.6f, 0.72f, 0.85f, 0.009f},
     {0.4f, 0.45f, 0.5f}, false, false, false},
    {"dusk canyon", SHAPE_CANYON, "sand", "orangerock", "dusk", true, false, {0, 0, 0}, {0.7f, 0.45f, 0.3f, 0.005f},
     {0.45f, 0.38f, 0.35f}, false, false, true},
    {"foundry", SHAPE_TUNNEL, "rust", "rust", "storm", false, true, {1.0f, 0.55f, 0.25f},
     {0.25f, 0.12f, 0.05f, 0.01f}, {0.3f, 0.25f, 0.22f}, false, false, false},
};

const TrackDesign kDesigns[kTrackCount] = {
    {"Dust Canyon", -1, 0, 0},       {"Dune Rings", 2, 12, 0},        {"Sandstone Run", 1, 13, 0},
    {"Red Rock Canyon", 6, 14, 0},     {"Mesa Slalom", 4, 15, 0},       {"Moonlit Ravine", 3, 16, 0},
    {"Frost Pipe", 5, 21, 1},          {"Copper Works", 7, 22, 1},      {"Hoop Valley", 2, 23, 1},
    {"Dust Devil Gorge", 0, 24, 1},    {"Skyline Spires", 4, 25, 1},    {"Night Shift", 3, 26, 1},
    {"Ember Canyon", 6, 31, 2},        {"Glacier Bore", 5, 32, 2},      {"Foundry Loop", 7, 33, 2},
    {"Ring of Mirages", 2, 34, 2},     {"Obsidian Night", 3, 35, 2},    {"Sentinel Towers", 4, 36, 2},
    {"Viper Gorge", 0, 41, 3},         {"Deep Freeze", 5, 42, 3},       {"Reactor Core", 7, 43, 3},
    {"Blood Moon Pass", 3, 44, 3},     {"Halo Gauntlet", 2, 45, 3},     {"The Last Canyon", 6, 46, 3},
};

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

// A wandering line that never comes back near itself.
std::vector<Vec3> ControlPoints(const TrackDesign& design, float d, float gap) {
    const ShapeRules& r = RulesOf(ThemeOf(design).shape);
    Random rng(design.seed);
    const int segments = int(r.segmentsBase + r.segmentsGrow * d);
    const float maxTurn = r.turnBase + r.turnGrow * d, maxClimb = r.climbBase + r.climbGrow * d;
    std::vector<Vec3> points = {{0, 40, 0}, {0, 40, -r.segment}};
    float yaw = 0.0f;
    for (int i = 0; i < segments; i++) {
        Vec3 best;
        float bestGap = -1.0f, bestYaw = yaw;
        for (int attempt = 0; attempt < 16 && bestGap < gap; attempt++) {
            const float tryYaw = yaw + rng.Range(-maxTurn, maxTurn);
            Vec3 p = points.back() + Heading(tryYaw) * r.segment;
            p.y = std::max(15.0f, std::min(90.0f, p.y + rng.Range(-maxClimb, maxClimb)));
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

struct ProfilePoint {
    float side, up;
};

// Cross-section of the shape, walking from the left across the floor to the right (or round, closed).
std::vector<ProfilePoint> ProfileOf(TrackShape shape, float size) {
    std::vector<ProfilePoint> p;
    if (shape == SHAPE_CANYON) {
        const float w = size;
        p = {{-w - 9, 30}, {-w - 5, 18}, {-w - 2, 8}, {-w, 1},   {-w * 0.7f, -4}, {-w * 0.3f, -6},
             {0, -6.2f},   {w * 0.3f, -6}, {w * 0.7f, -4}, {w, 1}, {w + 2, 8},      {w + 5, 18}, {w + 9, 30}};
    } else if (shape == SHAPE_TUNNEL) {
        for (int k = 0; k <= 12; k++) {
            const float a = float(k) / 12.0f * 2.0f * kPi + kPi;  // starts at the left, goes under
            p.push_back({std::cos(a) * size * 1.25f, std::sin(a) * size});
        }
    } else {
        for (float s : {-170.0f, -90.0f, -45.0f, -20.0f, 0.0f, 20.0f, 45.0f, 90.0f, 170.0f})
            p.push_back({s, -14.0f});
    }
    return p;
}

Vec3 Place(const PathFrame& f, float side, float up) {
    return f.pos + f.side * side + f.up * up;
}

// Sweeps the cross-section along the path into groups of a few dozen rings, so the renderer can cull them.
void Sweep(MeshBuilder& mb, const std::vector<PathFrame>& path, const std::vector<ProfilePoint>& profile,
           int floorMaterial, int wallMaterial, float roughness, unsigned seed) {
    constexpr size_t kRingsPerGroup = 24;
    const size_t n = profile.size();
    std::vector<float> arc(n, 0.0f);
    for (size_t k = 1; k < n; k++)
        arc[k] = arc[k - 1] + std::hypot(profile[k].side - profile[k - 1].side, profile[k].up - profile[k - 1].up);
    auto isFloor = [&profile](size_t k) { return profile[k].up < -3.0f && profile[k + 1].up < -3.0f; };
    bool hasPass[2] = {false, false};
    for (size_t k = 0; k + 1 < n; k++)
        hasPass[isFloor(k) ? 0 : 1] = true;
    int groupNumber = 0;
    for (size_t first = 0; first + 1 < path.size(); first += kRingsPerGroup) {
        const size_t last = std::min(path.size() - 1, first + kRingsPerGroup);
        for (int pass = 0; pass < 2; pass++) {  // floor quads, then wall quads
            if (!hasPass[pass])
                continue;
            char name[16];
            snprintf(name, sizeof(name), "%c%d", pass == 0 ? 'f' : 'w', groupNumber);
            mb.BeginGroup(name, pass == 0 ? floorMaterial : wallMaterial);
            std::vector<uint16_t> rows;
            for (size_t i = first; i <= last; i++)
                for (size_t k = 0; k < n; k++) {
                    // Walls are pushed outward by noise, never into the flying space.
                    const float bump = roughness * FractalNoise(float(i) * 0.35f, float(k) * 1.3f, seed, 3);
                    const float len = std::hypot(profile[k].side, profile[k].up);
                    const float grow = len > 0.0f ? 1.0f + bump / len : 1.0f;
                    rows.push_back(mb.AddVertex(Place(path[i], profile[k].side * grow, profile[k].up * grow)));
                }
            for (size_t i = first; i < last; i++)
                for (size_t k = 0; k + 1 < n; k++) {
                    if (isFloor(k) != (pass == 0))
                        continue;
                    const uint16_t a = rows[(i - first) * n + k], b = rows[(i - first) * n + k + 1];
                    const uint16_t c = rows[(i + 1 - first) * n + k + 1], dd = rows[(i + 1 - first) * n + k];
                    const float t0 = path[i].distance / 8.0f, t1 = path[i + 1].distance / 8.0f;
                    const UV ua{arc[k] / 8.0f, t0}, ub{arc[k + 1] / 8.0f, t0}, uc{arc[k + 1] / 8.0f, t1},
                        ud{arc[k] / 8.0f, t1};
                    // Faces point at the centre line, where the vehicle flies.
                    const Vec3 pa = Place(path[i], profile[k].side, profile[k].up);
                    const Vec3 pb = Place(path[i], profile[k + 1].side, profile[k + 1].up);
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

// A box along the axes of a frame (side, up, forward), faces outward.
void FrameBox(MeshBuilder& mb, const PathFrame& f, Vec3 centre, float halfSide, float halfUp, float halfForward) {
    const Vec3 axes[3] = {f.side * halfSide, f.up * halfUp, f.forward * halfForward};
    for (int a = 0; a < 3; a++)
        for (int sign = -1; sign <= 1; sign += 2) {
            const Vec3 n = axes[a] * float(sign);
            Vec3 t1 = axes[(a + 1) % 3], t2 = axes[(a + 2) % 3];
            if (Dot(Cross(t1, t2), n) < 0.0f)
                std::swap(t1, t2);
            const Vec3 c = centre + n;
            mb.AddQuad(c - t1 - t2, c + t1 - t2, c + t1 + t2, c - t1 + t2);
        }
}

// A square tube bent into a circle around the centre line, to fly through.
void Ring(MeshBuilder& mb, const PathFrame& f, float radius, float thickness) {
    constexpr int kSegments = 16;
    for (int k = 0; k < kSegments; k++) {
        const float a = 2.0f * kPi * float(k) / kSegments, b = 2.0f * kPi * float(k + 1) / kSegments;
        const Vec3 da = f.side * std::cos(a) + f.up * std::sin(a), db = f.side * std::cos(b) + f.up * std::sin(b);
        PathFrame segment = f;
        segment.side = Normalized(db - da);
        segment.up = Normalized(da + db);
        segment.forward = Cross(segment.side, segment.up);
        const Vec3 centre = f.pos + (da + db) * (0.5f * (radius + thickness));
        FrameBox(mb, segment, centre, Len(db - da) * 0.5f * (radius + thickness) + 0.05f, thickness, thickness);
    }
}

float Difficulty(int index) {
    return float(index) / float(kTrackCount - 1);
}

// A group begun anew every 150 units of track, so the renderer culls its far sections, and their shadows.
class SectionedGroup {
public:
    SectionedGroup(MeshBuilder& mb, const char* name, int material) : mb_(mb), name_(name), material_(material) {}
    void At(float distance) {
        const int section = int(distance / 150.0f);
        if (section != section_)
            mb_.BeginGroup(name_, material_);
        section_ = section;
    }

private:
    MeshBuilder& mb_;
    const char* name_;
    int material_;
    int section_ = -1;
};

void Scenery(MeshBuilder& mb, const TrackTheme& theme, const std::vector<PathFrame>& path, float size, Random& rng,
             int rockMaterial, int lampMaterial, std::vector<PointLamp>& lamps) {
    const float length = path.back().distance;
    auto frameAt = [&](float distance) -> const PathFrame& {
        return path[std::min(path.size() - 1, size_t(distance / 3.0f))];
    };
    SectionedGroup scenery(mb, "scenery", rockMaterial);
    if (theme.shape == SHAPE_CANYON) {
        for (float s = 30.0f; s < length - 30.0f; s += rng.Range(18.0f, 40.0f)) {
            const PathFrame& f = frameAt(s);
            const float side = (rng.Unit() < 0.5f ? -1.0f : 1.0f) * (size - rng.Range(1.5f, 3.0f));
            const float r = rng.Range(1.0f, 2.2f);
            scenery.At(s);
            FrameBox(mb, f, Place(f, side, -5.0f + r * 0.6f), r, r, r * 1.3f);
        }
        if (theme.arches)
            for (float s = 150.0f; s < length - 60.0f; s += 220.0f) {
                const PathFrame& f = frameAt(s);
                scenery.At(s);
                FrameBox(mb, f, Place(f, 0.0f, 17.0f), size + 10.0f, 2.0f, 3.5f);
            }
    }
    if (theme.towers) {
        for (float s = 40.0f; s < length - 20.0f; s += rng.Range(22.0f, 45.0f)) {
            const PathFrame& f = frameAt(s);
            const float side = (rng.Unit() < 0.5f ? -1.0f : 1.0f) * rng.Range(size + 12.0f, size + 70.0f);
            const float half = rng.Range(3.0f, 8.0f), height = rng.Range(25.0f, 90.0f);
            scenery.At(s);
            FrameBox(mb, f, Place(f, side, -14.0f + height * 0.5f), half, height * 0.5f, half);
        }
    }
    if (theme.rings) {
        SectionedGroup rings(mb, "rings", lampMaterial);
        for (float s = 70.0f; s < length - 50.0f; s += 110.0f) {
            rings.At(s);
            Ring(mb, frameAt(s), size, 1.0f);
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

// Closes the far end (and the start) of canyons and tunnels so nobody flies out of the world.
void EndCaps(MeshBuilder& mb, const TrackTheme& theme, const std::vector<PathFrame>& path, float size) {
    if (theme.shape == SHAPE_OPEN)
        return;
    for (const PathFrame* f : {&path.front(), &path.back()}) {
        const float half = theme.shape == SHAPE_TUNNEL ? size * 1.3f : size + 10.0f;
        const float upper = theme.shape == SHAPE_TUNNEL ? size + 1.0f : 31.0f;
        const float lower = theme.shape == SHAPE_TUNNEL ? -size - 1.0f : -7.0f;
        FrameBox(mb, *f, Place(*f, 0.0f, (upper + lower) * 0.5f), half, (upper - lower) * 0.5f, 0.5f);
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
    auto material = [&mb](const char* name, const std::string& texture, float emissive, uint8_t mode = 0) {
        MaterialSpec m;
        m.name = name;
        m.texture = texture;
        m.mode = mode;
        for (int k = 0; k < 3; k++) {
            m.ambient[k] = 0.7f, m.diffuse[k] = 0.9f, m.emissive[k] = emissive;
        }
        return mb.AddMaterial(m);
    };
    // Nothing lies under the floor for it to shadow.
    const int floorMaterial = material("floor", TexturePath(theme.floorTexture), 0.0f, kModeCastsNoShadow);
    const int wallMaterial = material("wall", TexturePath(theme.wallTexture), 0.0f);
    const int lampMaterial = material("lamp", TexturePath("lamp"), 0.8f);
    const int goalMaterial = material("G", TexturePath("goal"), 0.9f);  // "G": seen, never collided with

    Sweep(mb, out.path, ProfileOf(theme.shape, size), floorMaterial, wallMaterial,
          theme.shape == SHAPE_OPEN ? 1.5f : 2.5f, design.seed);
    Random rng(design.seed * 7u + 3u);
    out.lamps.clear();
    Scenery(mb, theme, out.path, size, rng, wallMaterial, lampMaterial, out.lamps);
    EndCaps(mb, theme, out.path, size);

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

// A hand-modelled track keeps a clear straight line from its start to its goal.
void StraightPath(const TrackSettings& s, TrackLayout& layout) {
    const Vec3 from{s.vehicleStartPosition[0], s.vehicleStartPosition[1] + 1.0f, s.vehicleStartPosition[2]};
    const Vec3 to{(s.goalMin[0] + s.goalMax[0]) * 0.5f, from.y, (s.goalMin[2] + s.goalMax[2]) * 0.5f};
    const int steps = int(Len(to - from) / 3.0f) + 1;
    layout.path.clear();
    for (int k = 0; k <= steps; k++) {
        PathFrame f;
        f.pos = Lerp(from, to, float(k) / float(steps));
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
