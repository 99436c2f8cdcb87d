#include "race/collision.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/log.h"
#include "scene/milkshape.h"

namespace {

// A leaf holds at most this many triangles unless it lies at the depth limit.
constexpr size_t kLeafTriangles = 4;
constexpr int kMaxDepth = 5;
// Child boxes overlap by twice this around the split plane.
constexpr float kChildOverlap = 0.4f;
// The query box must hold every point within the contact distance of the end point
// (sqrt(0.8) = 0.894), or a triangle across a split plane from it would be missed; the rest
// absorbs the single-precision rounding of the distance to large triangles.
constexpr float kQueryMargin = 1.0f;

struct Box {
    float min[3];
    float max[3];
};

int OctantCode(const float p[3], const float c[3]) {
    return (p[0] > c[0] ? 1 : 0) + (p[1] > c[1] ? 2 : 0) + (p[2] > c[2] ? 4 : 0);
}

// Bit o is set when octant o is spanned by the codes whose AND is lo and whose OR is hi.
struct SpanTable {
    unsigned char mask[8][8];
    constexpr SpanTable() : mask() {
        for (int lo = 0; lo < 8; ++lo)
            for (int hi = 0; hi < 8; ++hi)
                for (int o = 0; o < 8; ++o)
                    if ((o & lo) == lo && (o | hi) == hi)
                        mask[lo][hi] |= static_cast<unsigned char>(1 << o);
    }
};
constexpr SpanTable kSpan;

void BoxCenter(const Box& box, float out[3]) {
    for (int i = 0; i < 3; ++i)
        out[i] = box.min[i] * 0.5f + box.max[i] * 0.5f;  // halves first: no overflow for huge boxes
}

void Subdivide(OctreeNode& node, const std::vector<const CollisionTriangle*>& list, const Box& box, int depth) {
    node.isLeaf = false;
    std::vector<const CollisionTriangle*> lists[8];
    for (const CollisionTriangle* t : list) {
        const int a = OctantCode(t->A, node.center), b = OctantCode(t->B, node.center),
                  c = OctantCode(t->C, node.center);
        const unsigned mask = kSpan.mask[a & b & c][a | b | c];
        for (int o = 0; o < 8; ++o)
            if (mask & (1u << o))
                lists[o].push_back(t);
    }
    float mid[3];
    BoxCenter(box, mid);
    for (int o = 0; o < 8; ++o) {
        Box child;
        for (int i = 0; i < 3; ++i) {
            const bool high = (o >> i) & 1;
            child.min[i] = high ? mid[i] - kChildOverlap : box.min[i];
            child.max[i] = high ? box.max[i] : mid[i] + kChildOverlap;
        }
        node.children[o] = std::make_unique<OctreeNode>();
        OctreeNode& n = *node.children[o];
        if (depth < kMaxDepth && lists[o].size() > kLeafTriangles) {
            BoxCenter(child, n.center);
            Subdivide(n, lists[o], child, depth + 1);
        } else {
            n.triangles = std::move(lists[o]);
        }
    }
}

// Most triangles of the visited leaves are farther from the point than the contact distance along some
// axis of their bounding box; that cheap test spares them the full distance.
bool NearBox(const CollisionTriangle& t, const float p[3]) {
    for (int i = 0; i < 3; ++i)
        if (p[i] < t.boxMin[i] - kQueryMargin || p[i] > t.boxMax[i] + kQueryMargin)
            return false;
    return true;
}

size_t CountNodes(const OctreeNode& node) {
    size_t n = 1;
    for (const auto& child : node.children)
        if (child)
            n += CountNodes(*child);
    return n;
}

bool Finite3(const float v[3]) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

float Dot(const float a[3], const float b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void Sub(const float a[3], const float b[3], float out[3]) {
    for (int i = 0; i < 3; ++i)
        out[i] = a[i] - b[i];
}

// The distance maths runs in double: squares of float coordinates neither underflow (a sliver a
// billionth of a unit wide) nor lose the small difference between large ones.
struct Vec {
    double x, y, z;
};

Vec Diff(const float a[3], const float b[3]) {
    return {double(a[0]) - b[0], double(a[1]) - b[1], double(a[2]) - b[2]};
}

double Dot(const Vec& a, const Vec& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double Clamp01(double v) {
    return v < 0.0 ? 0.0 : v > 1.0 ? 1.0 : v;
}

// Nearest parameter on one edge from A (length squared ee, projection term de), clamped to the edge.
double EdgeParameter(double ee, double de) {
    return de >= 0.0 ? 0.0 : -de >= ee ? 1.0 : -de / ee;
}

// Eberly's region 2 (beyond the edge from B to C, on the side of C); region 6 is the same with
// the roles of the two edges (a/c, d/e, s/t) swapped.
void CornerRegion(double a, double b, double c, double d, double e, double& s, double& t) {
    const double tmp0 = b + d, tmp1 = c + e;
    if (tmp1 > tmp0) {
        s = Clamp01((tmp1 - tmp0) / (a - 2.0 * b + c));
        t = 1.0 - s;
    } else {
        s = 0.0;
        t = tmp1 <= 0.0 ? 1.0 : EdgeParameter(c, e);
    }
}

double SquaredDistanceToSegment(const float P[3], const float A[3], const float B[3]) {
    const Vec e = Diff(B, A), d = Diff(P, A);
    const double ee = Dot(e, e);
    const double s = ee > 0.0 ? Clamp01(Dot(d, e) / ee) : 0.0;
    const Vec x = {d.x - s * e.x, d.y - s * e.y, d.z - s * e.z};
    return Dot(x, x);
}

}  // namespace

float SquaredDistanceToTriangle(const float P[3], const float A[3], const float B[3], const float C[3]) {
    const Vec E0 = Diff(B, A), E1 = Diff(C, A), D = Diff(A, P);
    const double a = Dot(E0, E0), b = Dot(E0, E1), c = Dot(E1, E1);
    const double d = Dot(E0, D), e = Dot(E1, D);
    const double det = a * c - b * b;
    // Collinear or coincident corners leave no plane region: the nearest point lies on an edge.
    if (!(det > 1e-12 * a * c)) {
        return static_cast<float>(std::min(SquaredDistanceToSegment(P, A, B),
                                           std::min(SquaredDistanceToSegment(P, B, C), SquaredDistanceToSegment(P, C, A))));
    }
    double s = b * e - c * d;
    double t = b * d - a * e;
    // Regions of the (s, t) plane after Eberly: 0 is the triangle itself, 1..6 lie around it.
    if (s + t <= det) {
        if (s < 0.0 && t < 0.0) {  // region 4
            if (d < 0.0) {
                t = 0.0;
                s = EdgeParameter(a, d);
            } else {
                s = 0.0;
                t = EdgeParameter(c, e);
            }
        } else if (s < 0.0) {  // region 3
            s = 0.0;
            t = EdgeParameter(c, e);
        } else if (t < 0.0) {  // region 5
            t = 0.0;
            s = EdgeParameter(a, d);
        } else {  // region 0
            s /= det;
            t /= det;
        }
    } else if (s < 0.0) {  // region 2
        CornerRegion(a, b, c, d, e, s, t);
    } else if (t < 0.0) {  // region 6: region 2 with the two edges swapped
        CornerRegion(c, b, a, e, d, t, s);
    } else {  // region 1
        const double numer = c + e - b - d;
        s = numer <= 0.0 ? 0.0 : Clamp01(numer / (a - 2.0 * b + c));
        t = 1.0 - s;
    }
    // |D + s E0 + t E1|^2, the expanded quadratic without its cancellation far from the corners.
    const Vec x = {D.x + s * E0.x + t * E1.x, D.y + s * E0.y + t * E1.y, D.z + s * E0.z + t * E1.z};
    return static_cast<float>(Dot(x, x));
}

bool CollisionWorld::AddTriangle(const float a[3], const float b[3], const float c[3]) {
    root.reset();  // the tree points into the list, which may move now
    CollisionTriangle t;
    for (int i = 0; i < 3; ++i) {
        t.A[i] = a[i];
        t.B[i] = b[i];
        t.C[i] = c[i];
    }
    float e0[3], e1[3];
    Sub(b, a, e0);
    Sub(c, a, e1);
    t.normal[0] = e0[1] * e1[2] - e0[2] * e1[1];
    t.normal[1] = e0[2] * e1[0] - e0[0] * e1[2];
    t.normal[2] = e0[0] * e1[1] - e0[1] * e1[0];
    t.d = -Dot(t.normal, a);
    for (int i = 0; i < 3; ++i) {
        t.boxMin[i] = std::min(a[i], std::min(b[i], c[i]));
        t.boxMax[i] = std::max(a[i], std::max(b[i], c[i]));
    }
    const bool surface = t.normal[0] != 0.0f || t.normal[1] != 0.0f || t.normal[2] != 0.0f;
    if (!surface || !Finite3(a) || !Finite3(b) || !Finite3(c) || !Finite3(t.normal) || !std::isfinite(t.d)) {
        ++skipped;
        return false;
    }
    allTriangles.push_back(t);
    return true;
}

void CollisionWorld::CollectTriangles(const CMilkshapeModel& model) {
    const size_t skippedBefore = skipped;
    size_t badIndices = 0;
    for (const MsGroup& group : model.groups) {
        // Groups painted with the material "G" are scenery the vehicle flies through.
        const MsMaterial* material = model.MaterialOf(group);
        if (material && strcmp(material->name, "G") == 0)
            continue;
        for (uint32_t index : group.triangleIndices) {
            const MsTriangle* t = index < model.triangles.size() ? &model.triangles[index] : nullptr;
            const float* corner[3] = {nullptr, nullptr, nullptr};
            for (int k = 0; t && k < 3; ++k)
                if (t->vertexIndices[k] < model.vertices.size())
                    corner[k] = model.vertices[t->vertexIndices[k]].position;
            if (corner[0] && corner[1] && corner[2])
                AddTriangle(corner[0], corner[1], corner[2]);
            else
                ++badIndices;
        }
    }
    if (skipped > skippedBefore || badIndices > 0)
        Log("Collision world: left out %zu triangles without a surface and %zu with indices out of range",
            skipped - skippedBefore, badIndices);
}

std::unique_ptr<CollisionWorld> CollisionWorld::Build(const CMilkshapeModel& model) {
    auto world = std::make_unique<CollisionWorld>();
    world->CollectTriangles(model);
    world->BuildOctree();
    return world;
}

void CollisionWorld::BuildOctree() {
    Box box = {{99999.0f, 99999.0f, 99999.0f}, {-99999.0f, -99999.0f, -99999.0f}};
    std::vector<const CollisionTriangle*> list;
    list.reserve(allTriangles.size());
    for (const CollisionTriangle& t : allTriangles) {
        list.push_back(&t);
        for (const float* p : {t.A, t.B, t.C})
            for (int i = 0; i < 3; ++i) {
                box.min[i] = std::min(box.min[i], p[i]);
                box.max[i] = std::max(box.max[i], p[i]);
            }
    }
    root = std::make_unique<OctreeNode>();
    BoxCenter(box, root->center);
    Subdivide(*root, list, box, 0);
    visitedStamp.assign(allTriangles.size(), 0);
    queryStamp = 0;
}

void CollisionWorld::Visit(const OctreeNode& node) {
    if (node.isLeaf) {
        for (const CollisionTriangle* t : node.triangles) {
            // Loose cells share triangles; each is tested once per query. The mark is found from the
            // triangle's place in the list, without touching the triangle itself.
            uint32_t& mark = visitedStamp[static_cast<size_t>(t - allTriangles.data())];
            if (mark == queryStamp)
                continue;
            mark = queryStamp;
            if (!NearBox(*t, queryEnd))
                continue;
            ++tested;
            if (SquaredDistanceToTriangle(queryEnd, t->A, t->B, t->C) < kContactDistanceSquared)
                hits.push_back(t);
        }
        return;
    }
    const int lo = OctantCode(queryMin, node.center), hi = OctantCode(queryMax, node.center);
    const unsigned mask = kSpan.mask[lo & hi][lo | hi];
    for (int o = 0; o < 8; ++o)
        if (mask & (1u << o))
            Visit(*node.children[o]);
}

bool CollisionWorld::ContactNormal(const float from[3], const float to[3], float normal[3]) {
    hits.clear();
    tested = 0;
    if (!root || !Finite3(from) || !Finite3(to))
        return false;
    for (int i = 0; i < 3; ++i) {
        queryMin[i] = std::min(from[i], to[i]) - kQueryMargin;
        queryMax[i] = std::max(from[i], to[i]) + kQueryMargin;
        queryEnd[i] = to[i];
    }
    if (++queryStamp == 0) {  // wrapped: forget every old mark
        std::fill(visitedStamp.begin(), visitedStamp.end(), 0);
        queryStamp = 1;
    }
    Visit(*root);
    // List order makes the average independent of how the tree was walked.
    std::sort(hits.begin(), hits.end());
    return AnswerFromHits(from, to, normal);
}

bool CollisionWorld::ContactNormalBruteForce(const float from[3], const float to[3], float normal[3]) {
    hits.clear();
    tested = allTriangles.size();
    if (!Finite3(from) || !Finite3(to))
        return false;
    for (const CollisionTriangle& t : allTriangles)
        if (SquaredDistanceToTriangle(to, t.A, t.B, t.C) < kContactDistanceSquared)
            hits.push_back(&t);
    return AnswerFromHits(from, to, normal);
}

bool CollisionWorld::AnswerFromHits(const float from[3], const float to[3], float normal[3]) {
    if (hits.empty())
        return false;
    const double move[3] = {double(to[0]) - from[0], double(to[1]) - from[1], double(to[2]) - from[2]};
    double sum[3] = {0.0, 0.0, 0.0};
    for (const CollisionTriangle* t : hits) {
        double n[3] = {t->normal[0], t->normal[1], t->normal[2]};
        // A face turned along the motion counts with unit weight, turned back against it.
        if (n[0] * move[0] + n[1] * move[1] + n[2] * move[2] > 0.0) {
            const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            for (double& v : n)
                v = -v / len;
        }
        for (int i = 0; i < 3; ++i)
            sum[i] += n[i];
    }
    double len = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
    if (!(len > 0.0)) {
        // Faces that cancel out (a sheet met from both sides) still stop the vehicle:
        // push straight back against the motion, or up when it did not move.
        const double moved = std::sqrt(move[0] * move[0] + move[1] * move[1] + move[2] * move[2]);
        for (int i = 0; i < 3; ++i)
            sum[i] = moved > 0.0 ? -move[i] : (i == 1 ? 1.0 : 0.0);
        len = moved > 0.0 ? moved : 1.0;
    }
    for (int i = 0; i < 3; ++i)
        normal[i] = static_cast<float>(sum[i] / len);
    return true;
}

size_t CollisionWorld::NodeCount() const {
    return root ? CountNodes(*root) : 0;
}
