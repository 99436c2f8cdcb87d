#include "app/placeholder.h"

#include <GL/freeglut.h>

#include "app/log.h"

void CPlaceholderPhysics::onKey(unsigned char key, bool down) {
    if (down && key == 27)
        RequestStateViaLoading(STATE_MAIN_MENU);
}

void CPlaceholderPhysics::enter() {
    CPhysics::enter();
    Log("Screen %s is not built yet", name);
}

void CPlaceholderRenderer::draw() {
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glutSwapBuffers();
}
