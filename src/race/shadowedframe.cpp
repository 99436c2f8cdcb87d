// The race renderer's frame with stencil shadows: the scene is laid down in depth once, then shaded once
// for the first shadow-casting light (lit where its shadow volumes leave the stencil clear, ambient and lamps
// elsewhere), and every later such light is added where its own stencil is clear.

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>

#include "data/trackscript.h"
#include "lighting/stenciltechnique.h"
#include "race/gamerenderer.h"
#include "race/ghost.h"
#include "race/overlays.h"
#include "scene/glstate.h"
#include "scene/rendermodel.h"

namespace {

// Suns sit this far out along their direction.
constexpr float kSunDistance = 2000.0f;

// How much of light 0 the program adds, and whether it adds light 0 alone.
void SetShares(const LitProgram& program, float lightZero, float lightZeroOnly) {
    glUniform1f(program.lightZero, lightZero);
    glUniform1f(program.lightZeroOnly, lightZeroOnly);
}

void DrawDepthPass(const WorldModels& world) {
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    world([](RenderModel& m) { m.DrawDepth(); });
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
}

}  // namespace

void SetupRaceLight(const SceneLight& light, const CCamera& camera) {
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light.color);
    // A lamp's added pass must not bring the sun's ambient light along a second time.
    const float a = light.type == LIGHT_SUN ? kSunAmbient : 0.0f;
    const GLfloat ambient[4] = {a, a, a, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
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

void LitProgram::Locate(unsigned program) {
    id = program;
    lightZero = glGetUniformLocation(program, "lightZero");
    lightZeroOnly = glGetUniformLocation(program, "lightZeroOnly");
    fogColor = glGetUniformLocation(program, "fogColor");
}

const char* LampSlotDefines(int slots) {
    static const char* const kDefines[] = {"#define LAMP_SLOTS 0\n", "#define LAMP_SLOTS 1\n", "#define LAMP_SLOTS 2\n",
                                           "#define LAMP_SLOTS 3\n", "#define LAMP_SLOTS 4\n"};
    return kDefines[std::clamp(slots, 0, 4)];
}

int PointLightSlots() {
    const std::vector<SceneLight>& lights = gTrackSettings.lights;
    const auto lamps =
        std::count_if(lights.begin(), lights.end(), [](const SceneLight& l) { return l.type == LIGHT_POINT && !l.castsShadows; });
    return int(std::min<std::ptrdiff_t>(lamps, 4));
}

void DrawShadowedWorld(const WorldModels& world, CStencilTechnique* stencil, const LitProgram& program,
                       const CCamera& camera) {
    const std::vector<SceneLight>& lights = gTrackSettings.lights;
    const bool anyCaster =
        std::any_of(lights.begin(), lights.end(), [](const SceneLight& l) { return l.castsShadows; });
    DrawDepthPass(world);

    glDepthFunc(GL_EQUAL);
    glDepthMask(GL_FALSE);
    glDisable(GL_BLEND);
    glUseProgram(program.id);
    SetShares(program, 0.0f, 0.0f);
    world([anyCaster](RenderModel& m) { m.DrawShaded(anyCaster ? GROUPS_UNLIT : GROUPS_ALL, true); });
    glDisable(GL_LIGHT0);

    if (stencil)
        stencil->BeginStencil();
    bool first = true;
    for (size_t i = 0; i < lights.size(); ++i) {
        if (!lights[i].castsShadows)
            continue;
        if (stencil) {
            // The frame's clear has cleared the stencil for the first light; the lit pass left it read-only.
            if (!first) {
                glStencilMask(~0u);
                glClear(GL_STENCIL_BUFFER_BIT);
            }
            stencil->BeginVolumes(int(i));
            stencil->DrawVolumes(int(i));
            stencil->BeginLitPass();
            glUseProgram(program.id);
        }
        glEnable(GL_LIGHT0);
        SetupRaceLight(lights[i], camera);
        if (first) {
            glDisable(GL_BLEND);
            SetShares(program, 1.0f, 0.0f);
            world([](RenderModel& m) { m.DrawShaded(GROUPS_LIT, true); });
            if (stencil) {
                // Ambient only where a shadow can fall: the light's volumes lie in the caster's own space, so
                // other models (the sequences' vehicle) are drawn whole.
                stencil->BeginShadowedPass();
                SetShares(program, 0.0f, 0.0f);
                world([i](RenderModel& m) { m.DrawShaded(GROUPS_LIT, true, CStencilTechnique::VolumeOf(&m, int(i))); });
            }
        } else {
            // Fog fades the added light towards black: the fog colour is in the frame once already.
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
            SetShares(program, 1.0f, 1.0f);
            const float black[4] = {0.0f, 0.0f, 0.0f, program.fog[3]};
            glUniform4fv(program.fogColor, 1, black);
            world([](RenderModel& m) { m.DrawShaded(GROUPS_LIT, false); });
            glUniform4fv(program.fogColor, 1, program.fog);
        }
        first = false;
    }
    if (stencil)
        stencil->EndStencil();
    glUseProgram(0);
    glDisable(GL_BLEND);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
}

void CGameRenderer::ForEachModel(const std::function<void(RenderModel&)>& draw) {
    CTransformation pose;
    if (RenderModel* vehicle = ShownVehicle(pose)) {
        glPushMatrix();
        pose.Apply();
        draw(*vehicle);
        glPopMatrix();
    }
    if (trackRender)
        draw(*trackRender);
}

void CGameRenderer::DrawWorld(unsigned layers) {
    ForEachModel([=](RenderModel& m) { m.Draw(layers); });
}

void CGameRenderer::DrawShadowedFrame() {
    ClearFrame();
    glPushMatrix();
    camera.Apply();
    DrawShadowedWorld([this](const std::function<void(RenderModel&)>& draw) { ForEachModel(draw); }, stencil.get(),
                      lit, camera);
    DrawSky();  // behind the opaque scenery, under the translucent

    if (gTrackSettings.fogEnabled)
        glEnable(GL_FOG);
    DrawWorld(DRAW_TRANSLUCENT);
    DrawGhost(gGhost, gRequestedState, camera);
    glDisable(GL_FOG);
    camera.UpdateLensFlare();
    CTransformation pose;
    if (ShownVehicle(pose)) {
        glDepthMask(GL_TRUE);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    glPopMatrix();
    if (ShowsRaceHud(gRequestedState))
        DrawHud();
    DrawOverlay(*this);
    glutSwapBuffers();
}
