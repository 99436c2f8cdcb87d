#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// One edge of a group's mesh, shared by the triangles that use both of its vertex indices.
// count is the signed number of light-facing triangles running a->b minus those running b->a while a
// volume is being built; it is 0 between builds.
struct ShadowEdge {
    int32_t a;
    int32_t b;
    int32_t count;
};

// Distance the sides of a volume reach away from the scenery.
constexpr float kShadowExtrusion = 150.0f;

// A group triangle as the volume builder sees it: its model vertex indices and where its first corner
// sits in the renderer's flat vertex arrays.
struct VolumeTriangle {
    uint32_t corners[3];
    uint32_t firstRenderVertex;
};

struct VolumeLight {
    bool directional;   // position is then the direction towards the light
    float position[3];
    // Nothing lit lies below this height: a sun's volume that has passed under it can stop there.
    float lowest = -HUGE_VALF;
};

// Everything one group contributes to one light's volume, built without touching GL.
struct GroupVolumeGeometry {
    std::vector<std::unique_ptr<ShadowEdge>> edges;        // creation order
    std::vector<std::array<ShadowEdge*, 3>> triangleEdges; // per triangle, side k = corner k to k+1
    std::vector<uint8_t> facing;                           // per triangle, 1 = faces the light
    int silhouette = 0;                                    // quads the sides need
    std::vector<float> sideVertices;                       // x, y, z, w per vertex, 4 vertices a quad
    std::vector<uint32_t> sideIndices;                     // 6 per quad
    std::vector<uint32_t> capIndices;                      // 3 per light-facing triangle
    float boundsMin[3] = {99999.0f, 99999.0f, 99999.0f};
    float boundsMax[3] = {-99999.0f, -99999.0f, -99999.0f};
    // How far a sun pushes the group: kShadowExtrusion, or less where that takes all of it below the light's
    // lowest height (the volume past there shadows nothing, but every fragment of it costs a stencil update).
    float extrusion = kShadowExtrusion;
    int degenerate = 0;  // triangles left out: repeated or out-of-range corners, or no area
};

// Builds edges, facing flags, silhouette sides, cap indices and bounds for one group and light.
// positions holds vertexCount xyz triples. Degenerate triangles take no part in the volume.
GroupVolumeGeometry BuildGroupVolume(const std::vector<VolumeTriangle>& triangles, const float* positions,
                                     size_t vertexCount, const VolumeLight& light);

// For each of count xyz positions, the first vertex at exactly the same place. Meshes often repeat a
// corner for every face that uses it; pairing edges over these indices closes the volume along such seams
// instead of standing two opposite side quads on every one of them.
std::vector<uint32_t> FirstAtSamePlace(const float* positions, size_t count);

// Where vertex p ends up when pushed away from the light, a sun's by `extrusion`: the sides end there, and
// for a point light it is exactly where the back cap (scaled by 151 about the light) puts the same vertex,
// so the volume is closed.
void ExtrudeFromLight(const float p[3], const VolumeLight& light, float out[3], float extrusion = kShadowExtrusion);

// The light's direction of travel for a directional light; false when the light has no direction.
bool DirectionalTravel(const VolumeLight& light, float out[3]);

// The projection (column-major) that maps what lies between a light and the camera's near plane onto the
// screen pixels of the near-plane points behind it. lightEye is the light in eye space: w 1 for a point
// light, whose projection then takes eye coordinates moved to the light; w 0 for the direction towards a
// sun, whose projection takes plain eye coordinates. frontFacing tells whether light-facing triangles keep
// their winding on screen.
void NearPlaneCapProjection(const float lightEye[4], float nearDistance, float nearWidth, float nearHeight,
                            float out[16], bool& frontFacing);
