#pragma once

// The shadowed and the plain frame of a scene as the race renderer draws them, without sky, HUD and
// overlays: a depth pass, an ambient pass, and for each shadow-casting light a stencil mask from the
// technique and a pass lit by that light where the mask is clear. The plain frame runs the same passes
// with the mask left out, so the two pictures differ exactly where a shadow falls.

#include "data/trackscript.h"
#include "lighting/stenciltechnique.h"
#include "race/gamerenderer.h"
#include "scene/transformation.h"
#include "sceneview.h"

struct ShadowScene {
    RenderModel* model = nullptr;
    CCamera* camera = nullptr;
    CStencilTechnique* technique = nullptr;  // null draws the plain frame
};

// Sets up the GL state the race renderer sets when it becomes current; width and height are the window's.
inline void BeginSceneState(int width, int height, const float ambient[3]) {
    BeginSceneView(width, height);
    const float a[4] = {ambient[0], ambient[1], ambient[2], 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, a);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_LIGHTING);
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    for (int i = 0; i < 8; ++i) {
        glLightfv(GL_LIGHT0 + i, GL_AMBIENT, black);
        glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, black);
        glLightfv(GL_LIGHT0 + i, GL_SPECULAR, black);
    }
}

inline void DrawSceneFrame(const ShadowScene& scene) {
    if (scene.technique) scene.technique->Init();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glPushMatrix();
    scene.camera->Apply();
    glDisable(GL_LIGHT0);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    scene.model->Draw(true, false, true);
    glDepthFunc(GL_EQUAL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    scene.model->Draw(true, false, true);
    glDepthFunc(GL_LESS);

    if (scene.technique) scene.technique->BeginStencil();
    for (size_t i = 0; i < gTrackSettings.lights.size(); ++i) {
        const SceneLight& light = gTrackSettings.lights[i];
        if (!light.castsShadows) continue;
        if (scene.technique) {
            glClear(GL_STENCIL_BUFFER_BIT);
            scene.technique->BeginVolumes(int(i));
            scene.technique->DrawVolumes(int(i));
            scene.technique->BeginLitPass();
        } else {
            glDepthMask(GL_FALSE);
            glDepthFunc(GL_EQUAL);
        }
        glEnable(GL_LIGHT0);
        SetupRaceLight(light, *scene.camera);
        scene.model->Draw(true, false, false);
    }
    if (scene.technique) {
        scene.technique->EndStencil();
    } else {
        glDepthMask(GL_TRUE);
        glDepthFunc(GL_LESS);
    }
    scene.model->Draw(false, true, true);
    glPopMatrix();
}
