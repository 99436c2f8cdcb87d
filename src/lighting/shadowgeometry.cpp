#include "lighting/shadowgeometry.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>

namespace {

// The back cap of a point light is the front cap scaled about the light by this factor.
constexpr float kBackCapScale = kShadowExtrusion + 1.0f;
// Smallest distance kept between a light and the near plane, so the cap projection stays finite.
constexpr float kMinPlaneDistance = 1e-4f;
// Depth span of the sun's parallel cap projection, in world units along its rays.
constexpr float kSunCapDepth = 100000.0f;

const float* Corner(const float* positions, uint32_t index) { return positions + 3 * size_t(index); }

void Cross(const float u[3], const float v[3], float out[3]) {
    out[0] = u[1] * v[2] - u[2] * v[1];
    out[1] = u[2] * v[0] - u[0] * v[2];
    out[2] = u[0] * v[1] - u[1] * v[0];
}

// Unnormalised face normal (B - A) x (C - A); its sign is all the facing test needs.
void FaceNormal(const float* a, const float* b, const float* c, float out[3]) {
    const float ab[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const float ac[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    Cross(ab, ac, out);
}

bool IsDegenerate(const VolumeTriangle& t, const float* positions, size_t vertexCount) {
    const uint32_t* v = t.corners;
    if (v[0] >= vertexCount || v[1] >= vertexCount || v[2] >= vertexCount) return true;
    if (v[0] == v[1] || v[1] == v[2] || v[2] == v[0]) return true;
    float n[3];
    FaceNormal(Corner(positions, v[0]), Corner(positions, v[1]), Corner(positions, v[2]), n);
    const float lengthSquared = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
    return !(lengthSquared > 0.0f) || !std::isfinite(lengthSquared);
}

void PairEdges(const std::vector<VolumeTriangle>& triangles, const std::vector<bool>& usable,
               GroupVolumeGeometry& g) {
    std::unordered_map<uint64_t, ShadowEdge*> byKey;
    byKey.reserve(triangles.size() * 2);
    g.triangleEdges.assign(triangles.size(), {nullptr, nullptr, nullptr});
    for (size_t t = 0; t < triangles.size(); ++t) {
        if (!usable[t]) continue;
        for (int k = 0; k < 3; ++k) {
            const uint32_t i = triangles[t].corners[k];
            const uint32_t j = triangles[t].corners[(k + 1) % 3];
            const uint32_t lo = i < j ? i : j;
            const uint32_t hi = i < j ? j : i;
            ShadowEdge*& slot = byKey[(uint64_t(lo) << 32) | hi];
            if (!slot) {
                g.edges.push_back(std::make_unique<ShadowEdge>(ShadowEdge{int32_t(lo), int32_t(hi), 0}));
                slot = g.edges.back().get();
            }
            g.triangleEdges[t][k] = slot;
        }
    }
}

void MarkFacing(const std::vector<VolumeTriangle>& triangles, const std::vector<bool>& usable,
                const float* positions, const VolumeLight& light, GroupVolumeGeometry& g) {
    g.facing.assign(triangles.size(), 0);
    for (size_t t = 0; t < triangles.size(); ++t) {
        if (!usable[t]) continue;
        const float* a = Corner(positions, triangles[t].corners[0]);
        const float* b = Corner(positions, triangles[t].corners[1]);
        const float* c = Corner(positions, triangles[t].corners[2]);
        float toTriangle[3];
        for (int i = 0; i < 3; ++i)
            toTriangle[i] = light.directional ? -light.position[i]
                                              : (a[i] + b[i] + c[i]) * 0.333333f - light.position[i];
        float n[3];
        FaceNormal(a, b, c, n);
        g.facing[t] = toTriangle[0] * n[0] + toTriangle[1] * n[1] + toTriangle[2] * n[2] <= 0.0f;
    }
}

// Each facing triangle pushes its edges' counters one way or the other; edges between two facing
// triangles cancel, and what is left over is the silhouette (open borders included).
void CountSilhouette(const std::vector<VolumeTriangle>& triangles, GroupVolumeGeometry& g) {
    int s = 0;
    for (size_t t = 0; t < triangles.size(); ++t) {
        if (!g.facing[t]) continue;
        for (int k = 0; k < 3; ++k) {
            ShadowEdge* e = g.triangleEdges[t][k];
            const int32_t c = e->count;
            if (int32_t(triangles[t].corners[k]) == e->a) {
                s += c < 0 ? -1 : 1;
                ++e->count;
            } else {
                s += c < 1 ? 1 : -1;
                --e->count;
            }
        }
    }
    g.silhouette = s;
}

void AppendVertex(std::vector<float>& out, const float p[3]) { out.insert(out.end(), {p[0], p[1], p[2], 1.0f}); }

// The shortest push that still takes every usable corner below the sun's lowest height, if that is shorter.
void CutExtrusion(const std::vector<VolumeTriangle>& triangles, const std::vector<bool>& usable,
                  const float* positions, const VolumeLight& light, GroupVolumeGeometry& g) {
    float d[3];
    if (!light.directional || !DirectionalTravel(light, d) || !(d[1] < 0.0f) || !std::isfinite(light.lowest)) return;
    float highest = -HUGE_VALF;
    for (size_t t = 0; t < triangles.size(); ++t)
        if (usable[t])
            for (uint32_t corner : triangles[t].corners) highest = std::max(highest, Corner(positions, corner)[1]);
    g.extrusion = std::min(kShadowExtrusion, std::max(0.0f, highest - light.lowest) / -d[1]);
}

void BuildSides(const float* positions, const VolumeLight& light, GroupVolumeGeometry& g) {
    g.sideVertices.reserve(16 * size_t(g.silhouette));
    g.sideIndices.reserve(6 * size_t(g.silhouette));
    for (const auto& e : g.edges) {
        const float* a = Corner(positions, uint32_t(e->a));
        const float* b = Corner(positions, uint32_t(e->b));
        float farA[3], farB[3];
        ExtrudeFromLight(a, light, farA, g.extrusion);
        ExtrudeFromLight(b, light, farB, g.extrusion);
        // The winding keeps every quad facing out of the volume, whichever way the edge was walked.
        for (; e->count != 0; e->count += e->count > 0 ? -1 : 1) {
            const uint32_t n = uint32_t(g.sideVertices.size() / 4);
            AppendVertex(g.sideVertices, a);
            AppendVertex(g.sideVertices, b);
            AppendVertex(g.sideVertices, farA);
            AppendVertex(g.sideVertices, farB);
            if (e->count > 0)
                g.sideIndices.insert(g.sideIndices.end(), {n, n + 2, n + 1, n + 1, n + 2, n + 3});
            else
                g.sideIndices.insert(g.sideIndices.end(), {n, n + 1, n + 2, n + 1, n + 3, n + 2});
        }
    }
}

void AddToBounds(GroupVolumeGeometry& g, const float p[3]) {
    for (int i = 0; i < 3; ++i) {
        if (p[i] < g.boundsMin[i]) g.boundsMin[i] = p[i];
        if (p[i] > g.boundsMax[i]) g.boundsMax[i] = p[i];
    }
}

}  // namespace

std::vector<uint32_t> FirstAtSamePlace(const float* positions, size_t count) {
    std::vector<uint32_t> first(count);
    std::unordered_map<std::string, uint32_t> seen;
    seen.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const float* p = positions + 3 * i;
        // +0 turns -0 into 0, so both signs of zero meet
        const float key[3] = {p[0] + 0.0f, p[1] + 0.0f, p[2] + 0.0f};
        first[i] = seen.emplace(std::string(reinterpret_cast<const char*>(key), sizeof key), uint32_t(i)).first->second;
    }
    return first;
}

bool DirectionalTravel(const VolumeLight& light, float out[3]) {
    const float* p = light.position;
    const float length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
    if (!(length > 0.0f) || !std::isfinite(length)) return false;
    for (int i = 0; i < 3; ++i) out[i] = -p[i] / length;
    return true;
}

void ExtrudeFromLight(const float p[3], const VolumeLight& light, float out[3], float extrusion) {
    if (light.directional) {
        float d[3] = {0.0f, 0.0f, 0.0f};
        DirectionalTravel(light, d);
        for (int i = 0; i < 3; ++i) out[i] = p[i] + extrusion * d[i];
        return;
    }
    for (int i = 0; i < 3; ++i) out[i] = light.position[i] + kBackCapScale * (p[i] - light.position[i]);
}

GroupVolumeGeometry BuildGroupVolume(const std::vector<VolumeTriangle>& triangles, const float* positions,
                                     size_t vertexCount, const VolumeLight& light) {
    GroupVolumeGeometry g;
    std::vector<bool> usable(triangles.size());
    for (size_t t = 0; t < triangles.size(); ++t) {
        usable[t] = !IsDegenerate(triangles[t], positions, vertexCount);
        if (!usable[t]) ++g.degenerate;
    }
    PairEdges(triangles, usable, g);
    MarkFacing(triangles, usable, positions, light, g);
    CountSilhouette(triangles, g);
    CutExtrusion(triangles, usable, positions, light, g);
    BuildSides(positions, light, g);
    for (size_t t = 0; t < triangles.size(); ++t) {
        if (!usable[t]) continue;
        if (g.facing[t]) {
            const uint32_t f = triangles[t].firstRenderVertex;
            g.capIndices.insert(g.capIndices.end(), {f, f + 1, f + 2});
        }
        for (uint32_t corner : triangles[t].corners) {
            const float* p = Corner(positions, corner);
            float pushed[3];
            ExtrudeFromLight(p, light, pushed, g.extrusion);
            AddToBounds(g, p);
            AddToBounds(g, pushed);
        }
    }
    return g;
}

void NearPlaneCapProjection(const float lightEye[4], float nearDistance, float nearWidth, float nearHeight,
                            float m[16], bool& frontFacing) {
    for (int i = 0; i < 16; ++i) m[i] = 0.0f;
    const float halfW = 0.5f * nearWidth;
    const float halfH = 0.5f * nearHeight;
    if (lightEye[3] == 0.0f) {
        // A sun: project along its rays onto the plane z = -near; s is the distance along the ray.
        float dz = lightEye[2];
        if (std::fabs(dz) < kMinPlaneDistance) dz = dz < 0.0f ? -kMinPlaneDistance : kMinPlaneDistance;
        frontFacing = dz > 0.0f;
        m[0] = 1.0f / halfW;
        m[8] = -lightEye[0] / (dz * halfW);
        m[12] = -nearDistance * lightEye[0] / (dz * halfW);
        m[5] = 1.0f / halfH;
        m[9] = -lightEye[1] / (dz * halfH);
        m[13] = -nearDistance * lightEye[1] / (dz * halfH);
        m[10] = -2.0f / (dz * kSunCapDepth);
        m[14] = 1.0f - 2.0f * nearDistance / (dz * kSunCapDepth);
        m[15] = 1.0f;
        return;
    }
    // A point light: coordinates are relative to the light, axes the camera's. The plane lies at
    // z = -planeDistance from the light; sign tells on which side of it the light stands.
    float planeDistance = lightEye[2] + nearDistance;
    if (std::fabs(planeDistance) < kMinPlaneDistance)
        planeDistance = planeDistance < 0.0f ? -kMinPlaneDistance : kMinPlaneDistance;
    const float sign = planeDistance > 0.0f ? 1.0f : -1.0f;
    frontFacing = sign > 0.0f;
    const float far = std::fabs(planeDistance);
    const float near = far * 1e-4f;
    m[0] = sign * planeDistance / halfW;
    m[8] = -sign * lightEye[0] / halfW;
    m[5] = sign * planeDistance / halfH;
    m[9] = -sign * lightEye[1] / halfH;
    const float a = (far + near) / (far - near);
    m[10] = -sign * a;
    m[14] = -2.0f * far * near / (far - near);
    m[11] = -sign;
}
