#include "lighting/shadowvolume.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstring>

#include "app/log.h"
#include "data/settings.h"
#include "scene/milkshape.h"

namespace {

VolumeLight AsVolumeLight(const SceneLight& light) {
    return {light.type == LIGHT_SUN, {light.position[0], light.position[1], light.position[2]}};
}

uint32_t UploadBuffer(GLenum target, const void* data, size_t bytes) {
    GLuint name = 0;
    glGenBuffers(1, &name);
    glBindBuffer(target, name);
    glBufferData(target, GLsizeiptr(bytes), data, GL_STATIC_DRAW);
    glBindBuffer(target, 0);
    return name;
}

void DrawCapTriangles(uint32_t vertexBuffer, uint32_t capIndexBuffer, int32_t count) {
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, capIndexBuffer);
    glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_INT, nullptr);
}

// The same per-face stencil setup for both faces, one face at a time; front is left active.
void SetFaceOps(GLenum backDepthFail, GLenum frontDepthFail) {
    const GLenum faces[2] = {GL_BACK, GL_FRONT};
    const GLenum ops[2] = {backDepthFail, frontDepthFail};
    for (int i = 0; i < 2; ++i) {
        glActiveStencilFaceEXT(faces[i]);
        glStencilOp(GL_KEEP, ops[i], GL_KEEP);
        glStencilMask(~0u);
        glStencilFunc(GL_ALWAYS, 0, ~0u);
    }
}

// The group's triangles with every corner named by the first vertex at its place (out-of-range corners
// are kept as they are; the builder leaves those triangles out).
std::vector<VolumeTriangle> GroupTriangles(const CMilkshapeModel& model, const MsGroup& group,
                                           const std::vector<uint32_t>& samePlace) {
    std::vector<VolumeTriangle> out;
    out.reserve(group.triangleIndices.size());
    for (uint32_t index : group.triangleIndices) {
        if (index >= model.triangles.size()) continue;
        const MsTriangle& t = model.triangles[index];
        VolumeTriangle v{{}, t.firstRenderVertex};
        for (int k = 0; k < 3; ++k)
            v.corners[k] = t.vertexIndices[k] < samePlace.size() ? samePlace[t.vertexIndices[k]] : t.vertexIndices[k];
        out.push_back(v);
    }
    return out;
}

}  // namespace

bool ShouldGroupCast(const CMilkshapeModel& model, size_t group, const SceneLight& light) {
    const MsGroup& g = model.groups[group];
    const MsMaterial* material = model.MaterialOf(g);
    if (!material) return false;  // an undrawn group leaves no shadow either
    if (material->transparency < 1.0f) return false;
    if (material->mode & kModeCastsNoShadow) return false;
    if (light.type != LIGHT_SUN) return true;
    return strcmp(g.name, "M") != 0 && strcmp(g.name, "T") != 0 && strcmp(g.name, "A") != 0;
}

CGroupShadowVolume::CGroupShadowVolume(CMilkshapeModel* model, int groupIndex, uint32_t vertexBuffer,
                                       const SceneLight& light)
    : vertexBuffer(vertexBuffer), light(light), model(model), groupIndex(groupIndex) {}

CGroupShadowVolume::~CGroupShadowVolume() {
    const GLuint buffers[3] = {sideVertexBuffer, sideIndexBuffer, capIndexBuffer};
    glDeleteBuffers(3, buffers);
}

void CGroupShadowVolume::DrawFrontCap() {
    if (capIndexCount) DrawCapTriangles(vertexBuffer, capIndexBuffer, capIndexCount);
}

void CGroupShadowVolume::DrawSides() {
    if (!quadCount) return;
    glBindBuffer(GL_ARRAY_BUFFER, sideVertexBuffer);
    glVertexPointer(4, GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, sideIndexBuffer);
    glDrawElements(GL_TRIANGLES, 6 * quadCount, GL_UNSIGNED_INT, nullptr);
}

// The front cap moved away from the light. Its triangles still face the light, that is into the
// volume, so the face tests are turned round for this one draw.
void CGroupShadowVolume::DrawBackCap() {
    if (!capIndexCount) return;
    glPushMatrix();
    if (light.type == LIGHT_SUN) {
        float d[3];
        if (!DirectionalTravel(AsVolumeLight(light), d)) d[0] = d[1] = d[2] = 0.0f;
        glTranslatef(extrusion * d[0], extrusion * d[1], extrusion * d[2]);
    } else {
        const float* p = light.position;
        glTranslatef(-kShadowExtrusion * p[0], -kShadowExtrusion * p[1], -kShadowExtrusion * p[2]);
        glScalef(kShadowExtrusion + 1.0f, kShadowExtrusion + 1.0f, kShadowExtrusion + 1.0f);
    }
    if (gTwoSidedStencil) {
        SetFaceOps(GL_DECR_WRAP, GL_INCR_WRAP);
        DrawCapTriangles(vertexBuffer, capIndexBuffer, capIndexCount);
        SetFaceOps(GL_INCR_WRAP, GL_DECR_WRAP);
    } else {
        GLint cullMode = GL_BACK;
        glGetIntegerv(GL_CULL_FACE_MODE, &cullMode);
        const GLenum reversed = cullMode == GL_FRONT ? GL_BACK : GL_FRONT;
        glCullFace(reversed);
        DrawCapTriangles(vertexBuffer, capIndexBuffer, capIndexCount);
        glCullFace(GLenum(cullMode));
    }
    glPopMatrix();
}

CStaticGroupShadowVolume::CStaticGroupShadowVolume(CMilkshapeModel* model, int groupIndex, uint32_t vertexBuffer,
                                                   const SceneLight& light, GroupVolumeGeometry&& geometry)
    : CGroupShadowVolume(model, groupIndex, vertexBuffer, light) {
    edges = std::move(geometry.edges);
    groupTriangleCount = int32_t(geometry.facing.size());
    quadCount = geometry.silhouette;
    sideTriangleCount = 2 * quadCount;
    sideVertexCount = 4 * quadCount;
    capIndexCount = int32_t(geometry.capIndices.size());
    extrusion = geometry.extrusion;
    sideVertexBuffer = UploadBuffer(GL_ARRAY_BUFFER, geometry.sideVertices.data(),
                                    geometry.sideVertices.size() * sizeof(float));
    sideIndexBuffer = UploadBuffer(GL_ELEMENT_ARRAY_BUFFER, geometry.sideIndices.data(),
                                   geometry.sideIndices.size() * sizeof(uint32_t));
    capIndexBuffer = UploadBuffer(GL_ELEMENT_ARRAY_BUFFER, geometry.capIndices.data(),
                                  geometry.capIndices.size() * sizeof(uint32_t));
    bounds.AddPoint(geometry.boundsMin[0], geometry.boundsMin[1], geometry.boundsMin[2]);
    bounds.AddPoint(geometry.boundsMax[0], geometry.boundsMax[1], geometry.boundsMax[2]);
    bounds.Freeze();
}

CStaticShadowVolume::CStaticShadowVolume(CTransformation* viewer, CMilkshapeModel* model, uint32_t vertexBuffer,
                                         const SceneLight& light)
    : CShadowVolume(viewer, model, vertexBuffer, light) {
    model->hasShadowData = true;
    groupCount = int32_t(model->groups.size());
    groupVolumes.resize(model->groups.size());
    active.assign(model->groups.size(), 0);

    // Room for every scene light's facing flag, and for this light's even if its index is off the list.
    const size_t facingSlots = std::max(gTrackSettings.lights.size(), size_t(light.index) + 1);
    std::vector<float> positions;
    positions.reserve(3 * model->vertices.size());
    for (const MsVertex& v : model->vertices) positions.insert(positions.end(), v.position, v.position + 3);
    for (MsTriangle& t : model->triangles) {
        t.lightFacing.assign(facingSlots, 0);
        const uint16_t* c = t.vertexIndices;
        if (c[0] >= model->vertices.size() || c[1] >= model->vertices.size() || c[2] >= model->vertices.size())
            continue;
        for (int i = 0; i < 3; ++i)
            t.centroid[i] = (positions[3 * c[0] + i] + positions[3 * c[1] + i] + positions[3 * c[2] + i]) * 0.333333f;
    }

    VolumeLight volumeLight = AsVolumeLight(light);
    // The model is all its volumes shadow: a sun's need reach no lower than a unit under its lowest point (the
    // unit keeps a back cap from tying in depth with the lowest floor).
    float lowest = HUGE_VALF;
    for (const MsVertex& v : model->vertices) lowest = std::min(lowest, v.position[1]);
    if (lowest < HUGE_VALF) volumeLight.lowest = lowest - 1.0f;
    float travel[3];
    if (light.type == LIGHT_SUN && !DirectionalTravel(volumeLight, travel)) {
        Log("Light %d has no direction and casts no shadow", int(light.index));
        return;
    }
    const std::vector<uint32_t> samePlace = FirstAtSamePlace(positions.data(), model->vertices.size());
    int degenerate = 0;
    for (size_t g = 0; g < model->groups.size(); ++g) {
        if (!ShouldGroupCast(*model, g, light)) continue;
        const MsGroup& group = model->groups[g];
        GroupVolumeGeometry geometry =
            BuildGroupVolume(GroupTriangles(*model, group, samePlace), positions.data(), model->vertices.size(), volumeLight);
        degenerate += geometry.degenerate;
        size_t t = 0;
        for (uint32_t index : group.triangleIndices) {
            if (index >= model->triangles.size()) continue;
            MsTriangle& triangle = model->triangles[index];
            std::copy(geometry.triangleEdges[t].begin(), geometry.triangleEdges[t].end(), triangle.edges);
            triangle.lightFacing[light.index] = geometry.facing[t];
            ++t;
        }
        if (geometry.capIndices.empty() && geometry.sideIndices.empty()) continue;
        groupVolumes[g] = std::make_unique<CStaticGroupShadowVolume>(model, int(g), vertexBuffer, light,
                                                                     std::move(geometry));
        active[g] = 1;
    }
    if (degenerate)
        Log("Shadows of light %d: %d degenerate triangles cast no shadow", int(light.index), degenerate);
}

void CStaticShadowVolume::DrawFrontCap() {
    for (size_t g = 0; g < groupVolumes.size(); ++g)
        if (active[g]) groupVolumes[g]->DrawFrontCap();
}

void CStaticShadowVolume::DrawBackCap() {
    for (size_t g = 0; g < groupVolumes.size(); ++g)
        if (active[g]) groupVolumes[g]->DrawBackCap();
}

void CStaticShadowVolume::DrawSides() {
    for (size_t g = 0; g < groupVolumes.size(); ++g)
        if (active[g]) groupVolumes[g]->DrawSides();
}

void CStaticShadowVolume::UpdateVisibility(const float p[3]) {
    for (size_t g = 0; g < groupVolumes.size(); ++g)
        if (groupVolumes[g]) active[g] = groupVolumes[g]->bounds.InReachOf(p, gSettings.farPlane);
}

bool CStaticShadowVolume::ReachesInto(const BoundingBox& box) const {
    for (size_t g = 0; g < groupVolumes.size(); ++g)
        if (active[g] && groupVolumes[g]->bounds.Overlaps(box)) return true;
    return false;
}

void CStaticShadowVolume::KeepInView(const ViewPlanes& view) {
    for (size_t g = 0; g < groupVolumes.size(); ++g)
        if (active[g] && view.Outside(groupVolumes[g]->bounds.center, groupVolumes[g]->bounds.radius)) active[g] = 0;
}

