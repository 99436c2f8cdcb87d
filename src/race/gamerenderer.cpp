#include "race/gamerenderer.h"

#include <GL/freeglut.h>

#include <initializer_list>

#include "app/loading.h"

void CGameRenderer::draw() {
    glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glutSwapBuffers();
}

bool CGameRenderer::LoadRace(const char*, const char*) {
    for (int percent : {0, 10, 12, 35, 60})
        ShowLoadingProgress(percent);
    return true;
}

void CGameRenderer::StartRaceTimer(bool) {}

void CGameRenderer::StopRaceTimer() {}
