#include <GL/freeglut.h>

#include "app/loading.h"
#include "menus/mainmenu.h"

void CMenuRenderer::draw() {
    glClearColor(0.2f, 0.15f, 0.1f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glutSwapBuffers();
}

void CMenuRenderer::init() {
    ShowLoadingProgress(60);
    ShowLoadingProgress(100);
}
