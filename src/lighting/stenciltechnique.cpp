#include "lighting/stenciltechnique.h"

#include <GL/glew.h>

#include <cmath>

#include "data/settings.h"
#include "data/trackscript.h"
#include "lighting/shadowvolume.h"
#include "scene/rendermodel.h"
#include "scene/transformation.h"

namespace {

void SetFace(GLenum face, GLenum fail, GLenum depthFail, GLenum pass, GLuint mask, GLenum func) {
    glActiveStencilFaceEXT(face);
    glStencilOp(fail, depthFail, pass);
    glStencilMask(mask);
    glStencilFunc(func, 0, ~0u);
}

// Two-sided stencil: back face state first, so the front face is left active.
void SetFaces(GLenum backDepthFail, GLenum backPass, GLenum frontDepthFail, GLenum frontPass) {
    SetFace(GL_BACK, GL_KEEP, backDepthFail, backPass, ~0u, GL_ALWAYS);
    SetFace(GL_FRONT, GL_KEEP, frontDepthFail, frontPass, ~0u, GL_ALWAYS);
}

// Column-major 4x4 times (x, y, z, w).
void Transform(const float m[16], const float v[4], float out[4]) {
    for (int r = 0; r < 4; ++r) out[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r] * v[3];
}

// Volume passes write nothing but stencil, and read nothing but positions.
void BeginVolumeState() {
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_BLEND);
}

}  // namespace

CStencilTechnique::~CStencilTechnique() {
    program.reset();  // detaches the shaders before they go
    glDeleteShader(vertexShader.id);
    glDeleteShader(fragmentShader.id);
}

CStaticShadowVolume* CStencilTechnique::VolumeOf(RenderModel* caster, int light) {
    if (!caster || light < 0 || size_t(light) >= caster->staticShadows.size()) return nullptr;
    return caster->staticShadows[size_t(light)].get();
}

bool CStencilTechnique::BuildProgram(const char* name, const char* vertexFile) {
    vertexShader = LoadShader(vertexFile);
    fragmentShader = LoadShader("SV.frag");
    program = std::make_unique<ShaderProgram>(name);
    program->Attach(&vertexShader);
    program->Attach(&fragmentShader);
    return program->Link();
}

void CStencilTechnique::CountVolumes(int light, const OneSidedPass& first, const OneSidedPass& second) {
    if (gTwoSidedStencil) {
        RenderVolumes(light);
        return;
    }
    for (const OneSidedPass* pass : {&first, &second}) {
        glCullFace(pass->cull);
        glStencilOp(GL_KEEP, pass->depthFail, pass->depthPass);
        RenderVolumes(light);
    }
    glCullFace(GL_BACK);  // the lit pass draws the scenery with back faces culled
}

void CStencilTechnique::UseProgram() const { glUseProgram(program ? program->id : 0); }

void CStencilTechnique::BeginStencil() {
    glDepthMask(GL_FALSE);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 0, ~0u);
    glStencilMask(~0u);
    if (gTwoSidedStencil) glEnable(GL_STENCIL_TEST_TWO_SIDE_EXT);
}

void CStencilTechnique::BeginLitPass() {
    if (gTwoSidedStencil) {
        glEnable(GL_CULL_FACE);
        SetFace(GL_BACK, GL_KEEP, GL_KEEP, GL_KEEP, 0, GL_NEVER);
        SetFace(GL_FRONT, GL_KEEP, GL_KEEP, GL_KEEP, ~0u, GL_EQUAL);
    } else {
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        glStencilFunc(GL_EQUAL, 0, ~0u);
    }
    glStencilMask(0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glDepthFunc(GL_EQUAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glUseProgram(0);
}

void CStencilTechnique::BeginShadowedPass() {
    if (gTwoSidedStencil) glActiveStencilFaceEXT(GL_FRONT);
    glStencilFunc(GL_NOTEQUAL, 0, ~0u);
}

void CStencilTechnique::EndStencil() {
    glStencilMask(~0u);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glDisable(GL_BLEND);
    glDisable(GL_STENCIL_TEST);
    if (gTwoSidedStencil) glDisable(GL_STENCIL_TEST_TWO_SIDE_EXT);
}

void CZFailStencilTechnique::Init() {
    if (!programBuilt) {
        BuildProgram("ZFStaticSV", "ZFStaticSV.vert");
        programBuilt = true;
    }
    // Moves the far plane to infinity, so back caps are never clipped.
    float m[16];
    glMatrixMode(GL_PROJECTION);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    m[10] = -1.0f;
    m[14] = -2.0f * gSettings.nearPlane;
    glLoadMatrixf(m);
    glMatrixMode(GL_MODELVIEW);
}

void CZFailStencilTechnique::BeginVolumes(int) {
    BeginVolumeState();
    if (gTwoSidedStencil) {
        glDisable(GL_CULL_FACE);
        SetFaces(GL_INCR_WRAP, GL_KEEP, GL_DECR_WRAP, GL_KEEP);
    } else {
        glStencilMask(~0u);
        glStencilFunc(GL_ALWAYS, 0, ~0u);  // the previous light's lit pass left it at GL_EQUAL
    }
    UseProgram();
}

void CZFailStencilTechnique::DrawVolumes(int light) {
    CountVolumes(light, {GL_FRONT, GL_INCR_WRAP, GL_KEEP}, {GL_BACK, GL_DECR_WRAP, GL_KEEP});
}

void CZFailStencilTechnique::RenderVolumes(int light) {
    glDepthFunc(GL_LESS);
    const float eye[3] = {viewer->x, viewer->y, viewer->z};
    // A volume wholly outside the view crosses no pixel's line of sight, so it cannot change a count.
    const ViewPlanes view = CurrentViewPlanes();
    for (RenderModel* caster : casters) {
        CStaticShadowVolume* v = VolumeOf(caster, light);
        if (!v) continue;
        v->UpdateVisibility(eye);
        v->KeepInView(view);
        v->DrawFrontCap();
        v->DrawSides();
        v->DrawBackCap();
    }
}

void CZPPlusStencilTechnique::Init() {
    if (!program) {
        BuildProgram("ZPPStaticSV", "ZPPStaticSV.vert");
        projectionLocation = glGetUniformLocation(program->id, "projectionMatrix");
    }
    capProjection.resize(gTrackSettings.lights.size());
    glGetFloatv(GL_PROJECTION_MATRIX, cameraProjection);
    // The near-plane rectangle of the projection in use, which is the one of the settings' field of view.
    const float nearDistance = gSettings.nearPlane;
    nearHeight = cameraProjection[5] != 0.0f ? 2.0f * nearDistance / cameraProjection[5] : 0.0f;
    nearWidth = cameraProjection[0] != 0.0f ? 2.0f * nearDistance / cameraProjection[0] : 0.0f;
}

void CZPPlusStencilTechnique::BeginVolumes(int) {
    BeginVolumeState();
    if (!gTwoSidedStencil) glStencilFunc(GL_ALWAYS, 0, ~0u);  // the previous light's lit pass left it at GL_EQUAL
    UseProgram();
}

void CZPPlusStencilTechnique::DrawVolumes(int light) {
    if (light < 0 || size_t(light) >= gTrackSettings.lights.size() || size_t(light) >= capProjection.size()) return;
    const SceneLight& source = gTrackSettings.lights[size_t(light)];

    // 1. Near-plane caps: every light-facing cap between the light and a near-plane point counts once.
    if (gTwoSidedStencil) glEnable(GL_CULL_FACE);
    else {
        glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
        glStencilMask(~0u);
    }
    glDisable(GL_DEPTH_TEST);

    float view[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    const bool sun = source.type == LIGHT_SUN;
    float world[4] = {source.position[0], source.position[1], source.position[2], sun ? 0.0f : 1.0f};
    if (sun) {
        const float length = std::sqrt(world[0] * world[0] + world[1] * world[1] + world[2] * world[2]);
        if (length > 0.0f)
            for (int i = 0; i < 3; ++i) world[i] /= length;
    }
    float lightEye[4];
    Transform(view, world, lightEye);
    bool frontFacing = true;
    NearPlaneCapProjection(lightEye, gSettings.nearPlane, nearWidth, nearHeight, capProjection[size_t(light)].data(),
                           frontFacing);
    glPushMatrix();
    if (!sun) {
        // Eye space moved to the light, which is where the cap projection looks from.
        for (int i = 0; i < 3; ++i) view[12 + i] -= lightEye[i];
        glLoadMatrixf(view);
    }
    if (frontFacing) {
        glCullFace(GL_BACK);
        if (gTwoSidedStencil) SetFaces(GL_KEEP, GL_KEEP, GL_KEEP, GL_INCR_WRAP);
    } else {
        glCullFace(GL_FRONT);
        if (gTwoSidedStencil) SetFaces(GL_KEEP, GL_INCR_WRAP, GL_KEEP, GL_KEEP);
    }
    glUniformMatrix4fv(projectionLocation, 1, GL_FALSE, capProjection[size_t(light)].data());
    for (RenderModel* caster : casters)
        if (CStaticShadowVolume* v = VolumeOf(caster, light)) v->DrawFrontCap();
    glPopMatrix();
    glCullFace(GL_BACK);

    // 2. Sides, counted where they pass the depth test.
    if (gTwoSidedStencil) {
        glDisable(GL_CULL_FACE);
        SetFaces(GL_KEEP, GL_DECR_WRAP, GL_KEEP, GL_INCR_WRAP);
    } else {
        glStencilMask(~0u);
    }
    glEnable(GL_DEPTH_TEST);
    glUniformMatrix4fv(projectionLocation, 1, GL_FALSE, cameraProjection);
    CountVolumes(light, {GL_BACK, GL_KEEP, GL_INCR}, {GL_FRONT, GL_KEEP, GL_DECR});
}

void CZPPlusStencilTechnique::RenderVolumes(int light) {
    glDepthFunc(GL_LESS);
    for (RenderModel* caster : casters)
        if (CStaticShadowVolume* v = VolumeOf(caster, light)) v->DrawSides();
}
