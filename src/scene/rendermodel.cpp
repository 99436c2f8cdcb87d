#include "scene/rendermodel.h"

#include "data/settings.h"
#include "scene/texturemanager.h"

#include <GL/glew.h>
#include <cmath>
#include <cstring>

namespace {

bool Named(const MsGroup& group, const char* name) {
    return std::strcmp(group.name, name) == 0;
}

uint32_t Upload(const std::vector<float>& data) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(data.size() * sizeof(float)), data.data(), GL_STATIC_DRAW);
    return buffer;
}

void DeleteBuffers(std::initializer_list<uint32_t> buffers) {
    for (GLuint b : buffers)
        if (b != 0)
            glDeleteBuffers(1, &b);
}

void LoadTextures(CMilkshapeModel& model, TextureManager* textures, bool keep) {
    if (!textures)
        return;
    for (MsMaterial& m : model.materials)
        m.textureId = m.texture[0] != '\0' ? textures->Load(m.texture, keep) : 0;
}

float Distance(const float a[3], const float b[3]) {
    const float d[3] = {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
    return Length(d);
}

}  // namespace

FlatMesh FlattenGroups(CMilkshapeModel& model, bool withNormals, const TriangleVisit& visit) {
    FlatMesh mesh;
    // Sized by what the groups name, which may be more or fewer triangles than the model holds.
    size_t named = 0;
    for (const MsGroup& group : model.groups)
        named += group.triangleIndices.size();
    mesh.positions.reserve(named * 9);
    mesh.texCoords.reserve(named * 6);
    if (withNormals)
        mesh.normals.reserve(named * 9);
    for (size_t g = 0; g < model.groups.size(); ++g) {
        GroupRun run;
        run.first = int32_t(mesh.positions.size() / 3);
        for (uint32_t index : model.groups[g].triangleIndices) {
            if (index >= model.triangles.size())
                continue;
            MsTriangle& t = model.triangles[index];
            if (t.vertexIndices[0] >= model.vertices.size() || t.vertexIndices[1] >= model.vertices.size() ||
                t.vertexIndices[2] >= model.vertices.size())
                continue;
            const uint32_t first = uint32_t(mesh.positions.size() / 3);
            for (int k = 0; k < 3; ++k) {
                const float* p = model.vertices[t.vertexIndices[k]].position;
                mesh.positions.insert(mesh.positions.end(), p, p + 3);
                if (withNormals)
                    mesh.normals.insert(mesh.normals.end(), t.vertexNormals[k], t.vertexNormals[k] + 3);
                mesh.texCoords.push_back(t.s[k]);
                mesh.texCoords.push_back(-t.t[k]);
            }
            run.count += 3;
            if (visit)
                visit(g, t, first);
        }
        mesh.runs.push_back(run);
    }
    return mesh;
}

RenderModel::RenderModel(TextureManager* textures, CTransformation* view, CMilkshapeModel* source, unsigned flags)
    : model(source),
      textureManager(textures),
      viewer(view),
      castsStaticShadows((flags & MODEL_STATIC_SHADOWS) != 0),
      cullByDistance((flags & MODEL_CULL_BY_DISTANCE) != 0),
      keepTextures((flags & MODEL_KEEP_TEXTURES) != 0) {
    groupBoxes.assign(model->groups.size(), BoundingBox());
    groupLights.assign(model->groups.size(), {});
    const FlatMesh mesh = FlattenGroups(*model, true, [this](size_t g, MsTriangle& t, uint32_t first) {
        t.firstRenderVertex = first;
        const float* c[3];
        for (int k = 0; k < 3; ++k) {
            c[k] = model->vertices[t.vertexIndices[k]].position;
            groupBoxes[g].AddPoint(c[k][0], c[k][1], c[k][2]);
        }
        const float u[3] = {c[1][0] - c[0][0], c[1][1] - c[0][1], c[1][2] - c[0][2]};
        const float v[3] = {c[2][0] - c[0][0], c[2][1] - c[0][1], c[2][2] - c[0][2]};
        float n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        // A triangle without area has no direction; its normal stays zero rather than NaN.
        if (Length(n) > 0.0f)
            Normalize(n, t.normal);
        else
            t.normal[0] = t.normal[1] = t.normal[2] = 0.0f;
    });
    for (BoundingBox& box : groupBoxes)
        box.Freeze();
    groupRuns = mesh.runs;
    vertexBuffer = Upload(mesh.positions);
    normalBuffer = Upload(mesh.normals);
    texCoordBuffer = Upload(mesh.texCoords);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    LoadTextures(*model, textureManager, keepTextures);
    if (castsStaticShadows) {
        const std::vector<SceneLight>& lights = gTrackSettings.lights;
        this->staticShadows.resize(lights.size());
        for (size_t i = 0; i < lights.size(); ++i)
            if (lights[i].castsShadows)
                this->staticShadows[i] = std::make_unique<CStaticShadowVolume>(viewer, model, vertexBuffer, lights[i]);
    }
    if (gSettings.shadows)
        AssignGroupLights();
}

RenderModel::~RenderModel() {
    DeleteBuffers({vertexBuffer, normalBuffer, texCoordBuffer});
}

void RenderModel::AssignGroupLights() {
    for (size_t g = 0; g < groupBoxes.size(); ++g) {
        groupLights[g].clear();
        for (const SceneLight& light : gTrackSettings.lights) {
            // A shadow-casting light lights in its own pass, where its shadow does not fall.
            if (light.type != LIGHT_POINT || light.castsShadows)
                continue;
            BoundingBox reach = groupBoxes[g];
            for (int i = 0; i < 3; ++i) {
                reach.min[i] -= light.range;
                reach.max[i] += light.range;
            }
            if (reach.Contains(light.position[0], light.position[1], light.position[2]))
                groupLights[g].push_back(light);
        }
    }
}

void RenderModel::SelectNearestLights() {
    float distances[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    int filled = 0;
    for (const SceneLight*& slot : nearestLights)
        slot = nullptr;
    const float origin[3] = {0.0f, 0.0f, 0.0f};
    const float* eye = viewer ? &viewer->x : origin;
    for (const SceneLight& light : gTrackSettings.lights) {
        if (light.castsShadows)
            continue;
        const float d = Distance(eye, light.position);
        if (filled < 4) {
            nearestLights[filled] = &light;
            distances[filled++] = d;
            continue;
        }
        int farthest = 0;
        float greatest = 0.0f;
        for (int i = 0; i < 4; ++i) {
            if (distances[i] > greatest) {
                greatest = distances[i];
                farthest = i;
            }
        }
        if (d < greatest) {
            nearestLights[farthest] = &light;
            distances[farthest] = d;
        }
    }
}

bool RenderModel::IsGroupVisible(size_t group, bool includeA) const {
    if (!viewer || !cullByDistance)
        return true;
    const MsGroup& g = model->groups[group];
    if (Named(g, "S") || (!includeA && Named(g, "A")))
        return false;
    const BoundingBox& box = groupBoxes[group];
    if (box.Contains(viewer->x, viewer->y, viewer->z))
        return true;
    return box.InReachOf(&viewer->x, gSettings.farPlane);
}

void RenderModel::CaptureView() {
    if (viewer && cullByDistance)
        view = CurrentViewPlanes();
}

bool RenderModel::IsGroupShown(size_t group, bool includeA) const {
    if (!IsGroupVisible(group, includeA))
        return false;
    const BoundingBox& box = groupBoxes[group];
    return !(viewer && cullByDistance && view.Outside(box.center, box.radius));
}

void RenderModel::SetupGroupLights(size_t group) {
    const std::vector<SceneLight>& lights = groupLights[group];
    // A slot this group leaves empty (fewer than four lights near it) is darkened, so the lamps of the group
    // drawn before it, or of the track raced before this one, light nothing here.
    const float dark[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    for (size_t i = 0; i < 4; ++i) {
        const SceneLight* light = lights.size() <= 4 ? (i < lights.size() ? &lights[i] : nullptr) : nearestLights[i];
        if (light)
            SetupLight(GL_LIGHT1 + unsigned(i), *light, viewer);
        else
            glLightfv(GL_LIGHT1 + unsigned(i), GL_DIFFUSE, dark);
    }
}

void RenderModel::SetupLight(unsigned glLight, const SceneLight& light, const CTransformation* view) {
    const float origin[3] = {0.0f, 0.0f, 0.0f};
    const float* eye = view ? &view->x : origin;
    // A light without range reaches nothing; 1 / 0 would make GL's attenuation infinite and the result NaN.
    const float dark[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(glLight, GL_DIFFUSE, light.range > 0.0f ? light.color : dark);
    glLightf(glLight, GL_CONSTANT_ATTENUATION, 1.0f);
    glLightf(glLight, GL_LINEAR_ATTENUATION, light.range > 0.0f ? 1.0f / light.range : 0.0f);
    const float position[4] = {light.position[0] - eye[0], light.position[1] - eye[1], light.position[2] - eye[2],
                               0.0f};
    glLightfv(glLight, GL_POSITION, position);
}

void ApplyMaterial(const MsMaterial& m, unsigned faces) {
    glBindTexture(GL_TEXTURE_2D, m.textureId);
    glMaterialfv(faces, GL_AMBIENT, m.ambient);
    glMaterialfv(faces, GL_DIFFUSE, m.diffuse);
    glMaterialfv(faces, GL_SPECULAR, m.specular);
    glMaterialfv(faces, GL_EMISSION, m.emissive);
    glMaterialf(faces, GL_SHININESS, m.shininess);
}

void RenderModel::DrawRun(size_t group) const {
    glDrawArrays(GL_TRIANGLES, groupRuns[group].first, groupRuns[group].count);
}

void RenderModel::DrawGroups(const std::function<bool(const MsGroup&, const MsMaterial&)>& wanted) {
    const MsMaterial* applied = nullptr;  // neighbouring groups often share one
    for (size_t g = 0; g < model->groups.size(); ++g) {
        if (!IsGroupShown(g, true))
            continue;
        SetupGroupLights(g);
        const MsMaterial* m = model->MaterialOf(model->groups[g]);
        if (m && wanted(model->groups[g], *m)) {
            if (m != applied)
                ApplyMaterial(*m, GL_FRONT);
            applied = m;
            DrawRun(g);
        }
    }
}

void RenderModel::BindArrays(bool shaded) const {
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    if (shaded) {
        glBindBuffer(GL_ARRAY_BUFFER, normalBuffer);
        glNormalPointer(GL_FLOAT, 0, nullptr);
        glBindBuffer(GL_ARRAY_BUFFER, texCoordBuffer);
        glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

bool RenderModel::IsOpaque(size_t group) const {
    const MsMaterial* m = model->MaterialOf(model->groups[group]);
    return m && m->transparency == 1.0f && !Named(model->groups[group], "T");
}

bool RenderModel::InSet(size_t group, GroupSet groups) const {
    switch (groups) {
    case GROUPS_ALL: return IsGroupShown(group, true);
    case GROUPS_LIT: return IsGroupShown(group, false);
    case GROUPS_UNLIT: return IsGroupShown(group, true) && !IsGroupVisible(group, false);
    }
    return false;
}

void RenderModel::DrawDepth() {
    CaptureView();
    BindArrays(false);
    // Groups lie one after another in the arrays, so visible neighbours make one run.
    GLint first = 0;
    GLsizei count = 0;
    for (size_t g = 0; g < model->groups.size(); ++g) {
        if (!IsOpaque(g) || !IsGroupShown(g, true))
            continue;
        const GroupRun& run = groupRuns[g];
        if (count > 0 && run.first != first + count) {
            glDrawArrays(GL_TRIANGLES, first, count);
            count = 0;
        }
        if (count == 0)
            first = run.first;
        count += run.count;
    }
    if (count > 0)
        glDrawArrays(GL_TRIANGLES, first, count);
}

void RenderModel::DrawShaded(GroupSet groups, bool withLamps, const CStaticShadowVolume* shadows) {
    CaptureView();
    if (withLamps)
        SelectNearestLights();
    BindArrays(true);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const MsMaterial* applied = nullptr;
    for (size_t g = 0; g < model->groups.size(); ++g) {
        if (!IsOpaque(g) || !InSet(g, groups) || (shadows && !shadows->ReachesInto(groupBoxes[g])))
            continue;
        if (withLamps)
            SetupGroupLights(g);
        const MsMaterial* m = model->MaterialOf(model->groups[g]);
        if (m != applied)
            ApplyMaterial(*m, GL_FRONT);
        applied = m;
        DrawRun(g);
    }
}

void RenderModel::Draw(unsigned layers) {
    const bool transparent = (layers & DRAW_TRANSLUCENT) != 0;
    CaptureView();
    SelectNearestLights();
    BindArrays(true);

    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDepthMask(GL_TRUE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (layers & DRAW_OPAQUE)
        DrawGroups([](const MsGroup& g, const MsMaterial& m) {
            return m.transparency == 1.0f && !Named(g, "T");
        });

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    if (transparent) {
        glDisable(GL_CULL_FACE);
        DrawGroups([](const MsGroup&, const MsMaterial& m) {
            if (m.transparency >= 1.0f)
                return false;
            glColor4f(m.transparency, m.transparency, m.transparency, m.transparency);
            return true;
        });
        glEnable(GL_CULL_FACE);
    }

    glDepthMask(GL_TRUE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (transparent) {
        glDisable(GL_CULL_FACE);
        DrawGroups([](const MsGroup& g, const MsMaterial&) { return Named(g, "T"); });
        glEnable(GL_CULL_FACE);
    }
    glDisable(GL_ALPHA_TEST);
}

SkyModel::SkyModel(TextureManager* textures, CMilkshapeModel* source) : textureManager(textures), model(source) {
    const FlatMesh mesh = FlattenGroups(*model, false);
    groupRuns = mesh.runs;
    const std::vector<float>* arrays[2] = {&mesh.positions, &mesh.texCoords};
    uint32_t* names[2] = {&vertexBuffer, &texCoordBuffer};
    for (int i = 0; i < 2; ++i) {
        glGenBuffersARB(1, names[i]);
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, *names[i]);
        glBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(arrays[i]->size() * sizeof(float)), arrays[i]->data(),
                        GL_STATIC_DRAW_ARB);
    }
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    LoadTextures(*model, textureManager, false);
}

SkyModel::~SkyModel() {
    DeleteBuffers({vertexBuffer, texCoordBuffer});
}

void SkyModel::Draw() {
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    // Pinned to the far end of the depth range, the sky covers only what nothing drawn before it covers,
    // so drawn after the opaque scenery it costs only the pixels it shows.
    glEnable(GL_DEPTH_TEST);
    glDepthRange(1.0, 1.0);
    glDepthFunc(GL_LEQUAL);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, texCoordBuffer);
    glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    for (size_t g = 0; g < model->groups.size(); ++g) {
        // Every sky group should name a material; one that does not is left out.
        if (const MsMaterial* m = model->MaterialOf(model->groups[g])) {
            glBindTexture(GL_TEXTURE_2D, m->textureId);
            glDrawArrays(GL_TRIANGLES, groupRuns[g].first, groupRuns[g].count);
        }
    }
    glDepthMask(GL_TRUE);
    glDepthRange(0.0, 1.0);
    glDepthFunc(GL_LESS);
    glEnable(GL_LIGHTING);
    glEnableClientState(GL_NORMAL_ARRAY);
}
