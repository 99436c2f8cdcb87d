#include "race/gamerenderer.h"

#include <GL/freeglut.h>

#include "app/loading.h"
#include "app/log.h"
#include "data/trackscript.h"
#include "race/gamephysics.h"
#include "scene/milkshape.h"
#include "scene/texturemanager.h"

CTransformation gVehicleTransform;

bool IsSequenceState(int state) {
    return state == STATE_GAME_INTRO || state == STATE_RACE_INTRO || state == STATE_GAME_OUTRO;
}

CGameRenderer::CGameRenderer(TextureManager* textures) : CRenderer(textures), camera(textures) {}

CGameRenderer::~CGameRenderer() {
    gTrackModel.Clear();
}

bool CGameRenderer::LoadRace(const char* script, const char*) {
    if (textures)
        textures->UnloadTemporary();
    ShowLoadingProgress(0);
    skyModel.reset();
    gTrackModel.Clear();
    LoadTrackSettings(script, gTrackSettings);
    camera.Reset();
    ShowLoadingProgress(10);
    if (gTrackSettings.skyModel[0]) {
        skyModel = std::make_unique<CMilkshapeModel>();
        skyModel->Load(gTrackSettings.skyModel);
    }
    ShowLoadingProgress(12);
    gTrackModel.Load(gTrackSettings.trackModel);
    ShowLoadingProgress(35);
    ShowLoadingProgress(60);
    if (gTrackModel.triangles.empty())
        Log("Race %s has an empty track model", script);
    return !gTrackModel.triangles.empty();
}

// The race clock belongs to the HUD.
void CGameRenderer::StartRaceTimer(bool) {}

void CGameRenderer::StopRaceTimer() {}

void CGameRenderer::draw() {
    const float* fog = gTrackSettings.fogColor;
    glClearColor(fog[0], fog[1], fog[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}
