#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "data/trackscript.h"
#include "lighting/shadowgeometry.h"
#include "scene/transformation.h"

class CMilkshapeModel;

// The stencil shadow volume of the track scenery for one light: light-facing front cap, back cap pushed
// away from the light, and sides standing on the silhouette edges. Built once per race on the card.
class CShadowVolume {
public:
    CShadowVolume(CTransformation* viewer, CMilkshapeModel* model, uint32_t vertexBuffer, const SceneLight& light)
        : viewer(viewer), model(model), light(light), vertexBuffer(vertexBuffer) {}
    virtual ~CShadowVolume() = default;
    CShadowVolume(const CShadowVolume&) = delete;
    CShadowVolume& operator=(const CShadowVolume&) = delete;

    // The caller has enabled the vertex array and set the stencil state of its technique.
    virtual void DrawFrontCap() = 0;
    virtual void DrawBackCap() = 0;
    virtual void DrawSides() = 0;
    virtual void UpdateVisibility(const float /*viewerPosition*/[3]) {}

    CTransformation* viewer;  // not owned
    CMilkshapeModel* model;   // not owned
    SceneLight light;
    uint32_t vertexBuffer;  // the RenderModel's position buffer, not owned
};

// One model group's share of a volume, in its own GL buffers.
class CGroupShadowVolume {
public:
    CGroupShadowVolume(CMilkshapeModel* model, int groupIndex, uint32_t vertexBuffer, const SceneLight& light);
    virtual ~CGroupShadowVolume();
    CGroupShadowVolume(const CGroupShadowVolume&) = delete;
    CGroupShadowVolume& operator=(const CGroupShadowVolume&) = delete;

    virtual void DrawFrontCap();
    virtual void DrawBackCap();
    virtual void DrawSides();

    uint32_t sideVertexBuffer = 0;  // 4 vertices (x, y, z, w) per side quad
    uint32_t vertexBuffer;          // shared, not owned
    uint32_t sideIndexBuffer = 0;   // 6 indices per side quad
    uint32_t capIndexBuffer = 0;    // 3 indices per light-facing triangle
    SceneLight light;
    std::vector<std::unique_ptr<ShadowEdge>> edges;  // creation order; the triangles point into these
    int32_t sideTriangleCount = 0;
    int32_t sideVertexCount = 0;
    int32_t quadCount = 0;
    int32_t capIndexCount = 0;
    CMilkshapeModel* model;
    int32_t groupTriangleCount = 0;
    int32_t groupIndex;
    float extrusion = kShadowExtrusion;  // how far a sun pushes the back cap
    BoundingBox bounds;  // the group and its extrusion; frozen
};

// A group volume whose light and scenery never move: uploaded once from its built geometry.
class CStaticGroupShadowVolume : public CGroupShadowVolume {
public:
    CStaticGroupShadowVolume(CMilkshapeModel* model, int groupIndex, uint32_t vertexBuffer, const SceneLight& light,
                             GroupVolumeGeometry&& geometry);
};

class CStaticShadowVolume : public CShadowVolume {
public:
    CStaticShadowVolume(CTransformation* viewer, CMilkshapeModel* model, uint32_t vertexBuffer,
                        const SceneLight& light);

    void DrawFrontCap() override;
    void DrawBackCap() override;
    void DrawSides() override;
    void UpdateVisibility(const float viewerPosition[3]) override;
    // Switches off the group volumes wholly outside the view.
    void KeepInView(const ViewPlanes& view);
    // Whether a switched-on group volume reaches into the box: nowhere else can this light's shadow fall.
    bool ReachesInto(const BoundingBox& box) const;

    std::vector<std::unique_ptr<CStaticGroupShadowVolume>> groupVolumes;  // null: the group casts nothing
    std::vector<uint8_t> active;
    int32_t groupCount = 0;
};

// Whether group g of the model casts a shadow from this light.
bool ShouldGroupCast(const CMilkshapeModel& model, size_t group, const SceneLight& light);
