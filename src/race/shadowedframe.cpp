// The race renderer's frame with stencil shadows: the scene is laid down in depth and ambient light once,
// then each shadow-casting light adds its light where its shadow volumes leave the stencil clear.

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "data/trackscript.h"
#include "lighting/stenciltechnique.h"
#include "race/gamerenderer.h"
#include "race/ghost.h"
#include "race/overlays.h"
#include "scene/rendermodel.h"

namespace {

// Suns sit this far out along their direction.
constexpr float kSunDistance = 2000.0f;

}  // namespace

void SetupRaceLight(const SceneLight& light, const CCamera& camera) {
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light.color);
    float p[3] = {light.position[0], light.position[1], light.position[2]};
    if (light.type == LIGHT_SUN) {
        for (float& v : p) v *= kSunDistance;
    } else {
        glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 1.0f);
        // A light without a range would divide by zero: it then does not fade.
        glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, light.range > 0.0f ? 1.0f / light.range : 0.0f);
    }
    const GLfloat position[4] = {p[0] - camera.x, p[1] - camera.y, p[2] - camera.z, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
}

void CGameRenderer::DrawWorld(bool opaque, bool transparent, bool includeA) {
    if (IsSequenceState(gRequestedState) && vehicleRender) {
        glPushMatrix();
        gVehicleTransform.Apply();
        vehicleRender->Draw(true, true, true);
        glPopMatrix();
    }
    if (trackRender)
        trackRender->Draw(opaque, transparent, includeA);
}

void CGameRenderer::DrawShadowedFrame() {
    const std::vector<SceneLight>& lights = gTrackSettings.lights;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    DrawSky();

    glPushMatrix();
    camera.Apply();
    glDisable(GL_LIGHT0);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    DrawWorld(true, false, true);  // depth only

    if (!lights.empty())
        glUseProgram(program->id);
    glDepthFunc(GL_EQUAL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    DrawWorld(true, false, true);  // ambient and the point lights without shadows
    glDepthFunc(GL_LESS);
    if (!lights.empty())
        glUseProgram(0);

    stencil->BeginStencil();
    for (size_t i = 0; i < lights.size(); ++i) {
        if (!lights[i].castsShadows)
            continue;
        glClear(GL_STENCIL_BUFFER_BIT);
        stencil->BeginVolumes(int(i));
        stencil->DrawVolumes(int(i));
        stencil->BeginLitPass();
        glEnable(GL_LIGHT0);
        SetupRaceLight(lights[i], camera);
        DrawWorld(true, false, false);
    }
    stencil->EndStencil();

    if (gTrackSettings.fogEnabled)
        glEnable(GL_FOG);
    DrawWorld(false, true, true);
    DrawGhost(gGhost, gRequestedState, camera);
    glDisable(GL_FOG);
    camera.UpdateLensFlare();
    if (IsSequenceState(gRequestedState)) {
        glDepthMask(GL_TRUE);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    glPopMatrix();
    if (!IsSequenceState(gRequestedState))
        DrawHud();
    DrawOverlay(*this);
    glutSwapBuffers();
}
