#include "race/trophy.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include "data/settings.h"
#include "race/raceflow.h"
#include "scene/glstate.h"
#include "scene/milkshape.h"
#include "scene/rendermodel.h"
#include "scene/texturemanager.h"

namespace {

const char* const kMedalTextures[4] = {nullptr, "../Textures/trophy_bronze.jpg", "../Textures/trophy_silver.jpg",
                                       "../Textures/trophy_gold.jpg"};

}  // namespace

CTrophyDisplay::CTrophyDisplay(TextureManager* textures, CCamera* viewer)
    : textures(textures), model(std::make_unique<CMilkshapeModel>()) {
    if (model->Load("../Models/trophy.ms3d"))
        render = std::make_unique<RenderModel>(textures, viewer, model.get(), MODEL_KEEP_TEXTURES);
}

CTrophyDisplay::~CTrophyDisplay() = default;

void CTrophyDisplay::SetTrophyMedal(int medal) {
    if (medal < MEDAL_BRONZE || medal > MEDAL_GOLD || !textures || model->materials.empty()) return;
    model->materials[0].textureId = textures->Load(kMedalTextures[medal], true);
}

void CTrophyDisplay::DrawModel() {
    if (render) render->Draw(DRAW_ALL);
}

void CTrophyDisplay::DrawTrophy() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(gSettings.fieldOfView, gSettings.aspectRatio, gSettings.nearPlane, gSettings.farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    gluLookAt(0.0, 2.4, -7.0, 0.6, 0.4, 0.0, 0.0, 1.0, 0.0);
    glRotatef(gTrophyAngle, 0.0f, 1.0f, 0.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    BeginModelPass();
    DrawModel();
    EndModelPass();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}
