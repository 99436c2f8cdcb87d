#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "data/trackscript.h"
#include "lighting/shadowvolume.h"
#include "scene/milkshape.h"
#include "scene/transformation.h"

class TextureManager;

// The groups a shading pass draws. The lit passes of shadow-casting lights leave out what IsGroupVisible
// hides without "A"; those groups are shaded once, by ambient and lamps alone.
enum GroupSet { GROUPS_ALL, GROUPS_LIT, GROUPS_UNLIT };

// Where one group's triangles lie in the flat vertex arrays: vertices [first, first + count).
struct GroupRun {
    int32_t first = 0;
    int32_t count = 0;
};

// A model's triangles laid out group by group, three vertices per triangle.
struct FlatMesh {
    std::vector<float> positions;  // xyz
    std::vector<float> normals;    // xyz, the file's corner normals; empty unless asked for
    std::vector<float> texCoords;  // (s, -t): the file's t runs down the picture, GL's up
    std::vector<GroupRun> runs;    // one per group
};

// Flattens the groups in order, skipping triangle and vertex indices that name nothing. For each triangle
// written, visit(group index, triangle, index of its first vertex) is called when given.
using TriangleVisit = std::function<void(size_t group, MsTriangle& triangle, uint32_t firstVertex)>;
FlatMesh FlattenGroups(CMilkshapeModel& model, bool withNormals, const TriangleVisit& visit = nullptr);

// Binds the material's texture and sets its colours on `faces` (GL_FRONT or GL_FRONT_AND_BACK).
void ApplyMaterial(const MsMaterial& material, unsigned faces);

// How a RenderModel is built, flags or'ed together.
enum {
    MODEL_KEEP_TEXTURES = 1,     // its textures stay for the whole run (vehicles, the trophy)
    MODEL_CULL_BY_DISTANCE = 2,  // groups out of reach or out of view are skipped (the track)
    MODEL_STATIC_SHADOWS = 4,    // a shadow volume per shadow-casting light (the track, with shadows on)
};

// What RenderModel::Draw draws, flags or'ed together.
enum {
    DRAW_OPAQUE = 1,       // the groups of transparency 1, "T" aside
    DRAW_TRANSLUCENT = 2,  // the see-through groups, then the cut-out ones ("T")
    DRAW_ALL = DRAW_OPAQUE | DRAW_TRANSLUCENT,
};

// A model on the graphics card, drawn group by group with fixed-function materials and up to four
// point lights per group. The group names "T" (cut-out), "A" (left out of some passes) and "S" (never
// drawn by distance-culled models) steer the passes.
class RenderModel {
public:
    // The model, viewer and texture manager are not owned and must outlive this object.
    RenderModel(TextureManager* textureManager, CTransformation* viewer, CMilkshapeModel* model, unsigned flags);
    ~RenderModel();
    RenderModel(const RenderModel&) = delete;
    RenderModel& operator=(const RenderModel&) = delete;

    // The parts of the model `layers` names, every group included. The caller has set the model-view matrix, the
    // shader program and the model pass (scene/glstate.h).
    void Draw(unsigned layers);
    // The opaque groups' depth alone, runs of neighbouring groups in one draw. The caller has turned off
    // colour writes, texturing, lighting and the normal and texture-coordinate arrays.
    void DrawDepth();
    // The opaque groups of the set with their materials and, withLamps, their point lights; blending, depth
    // and stencil state are the caller's. With shadows, only the groups its switched-on volumes reach.
    void DrawShaded(GroupSet groups, bool withLamps, const CStaticShadowVolume* shadows = nullptr);

    void AssignGroupLights();
    void SelectNearestLights();
    bool IsGroupVisible(size_t group, bool includeA) const;
    void SetupGroupLights(size_t group);
    // GL light from a scene light: diffuse colour, attenuation 1 + d / range, and a direction from the
    // viewer towards the light, which the current model-view matrix turns into eye space.
    static void SetupLight(unsigned glLight, const SceneLight& light, const CTransformation* viewer);

    CMilkshapeModel* model;
    TextureManager* textureManager;
    CTransformation* viewer;
    std::vector<BoundingBox> groupBoxes;  // frozen per group
    std::vector<GroupRun> groupRuns;
    std::vector<std::vector<SceneLight>> groupLights;  // the point lights reaching each group
    bool castsStaticShadows;
    bool cullByDistance;
    bool keepTextures;
    const SceneLight* nearestLights[4] = {nullptr, nullptr, nullptr, nullptr};  // refreshed by each Draw
    uint32_t vertexBuffer = 0, normalBuffer = 0, texCoordBuffer = 0;
    // One per scene light when castsStaticShadows: the light's volume, or null when it casts none.
    std::vector<std::unique_ptr<CStaticShadowVolume>> staticShadows;

private:
    ViewPlanes view{};
    // Refreshes the view the distance-culled groups are tested against.
    void CaptureView();
    // IsGroupVisible, and for distance-culled models not wholly outside the captured view.
    bool IsGroupShown(size_t group, bool includeA) const;
    bool IsOpaque(size_t group) const;
    bool InSet(size_t group, GroupSet groups) const;
    void BindArrays(bool shaded) const;
    void DrawRun(size_t group) const;
    // Visible groups get their lights; those with a material that wanted accepts are drawn with it.
    void DrawGroups(const std::function<bool(const MsGroup&, const MsMaterial&)>& wanted);
};

// The track's sky: textured triangles drawn around the eye with no lighting or culling, behind everything
// drawn before it.
class SkyModel {
public:
    SkyModel(TextureManager* textureManager, CMilkshapeModel* model);
    ~SkyModel();
    SkyModel(const SkyModel&) = delete;
    SkyModel& operator=(const SkyModel&) = delete;

    // The caller has applied only the camera's rotation.
    void Draw();

    TextureManager* textureManager;
    CMilkshapeModel* model;
    std::vector<GroupRun> groupRuns;
    uint32_t vertexBuffer = 0, texCoordBuffer = 0;
};
