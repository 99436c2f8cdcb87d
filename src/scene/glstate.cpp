#include "scene/glstate.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include "data/settings.h"

namespace {

void Enable(GLenum capability, bool on) {
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
}

}  // namespace

void Begin2D() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, gSettings.screenWidth, 0, gSettings.screenHeight);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void End2D() {
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void BeginFlat(FlatPass pass) {
    const bool textured = pass == FLAT_PICTURE || pass == FLAT_CUTOUT || pass == FLAT_GLOW;
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glUseProgram(0);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    Enable(GL_TEXTURE_2D, textured);
    Enable(GL_BLEND, pass == FLAT_SHAPES || pass == FLAT_GLOW);
    if (pass == FLAT_SHAPES)
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (pass == FLAT_GLOW)
        glBlendFunc(GL_ONE, GL_ONE);
    Enable(GL_ALPHA_TEST, pass == FLAT_CUTOUT);
    glAlphaFunc(GL_GREATER, 0.0f);
    if (pass == FLAT_PICTURE || pass == FLAT_CUTOUT)
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    Begin2D();
}

void EndFlat() {
    End2D();
    glPopAttrib();
}

void BeginModelPass() {
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_POLYGON_BIT | GL_HINT_BIT);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
}

void EndModelPass() {
    glPopClientAttrib();
    glPopAttrib();
}

void ClearFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void BeginLookAt(const double eye[3], const double at[3], float turn) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(eye[0], eye[1], eye[2], at[0], at[1], at[2], 0.0, 1.0, 0.0);
    glRotatef(turn, 0.0f, 1.0f, 0.0f);
}

void EndLookAt() {
    glPopMatrix();
}

void BeginPreview(int x, int y, int width, int height) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, width, height);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    ClearFrame();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(gSettings.fieldOfView, double(gSettings.screenWidth) / double(gSettings.screenHeight),
                   gSettings.nearPlane, gSettings.farPlane);
    glMatrixMode(GL_MODELVIEW);
}

void EndPreview() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_SCISSOR_TEST);
}

void SetLightZero(const LightZero& light) {
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, light.sceneAmbient);
    glLightfv(GL_LIGHT0, GL_AMBIENT, light.ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light.diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, light.specular);
    glLightfv(GL_LIGHT0, GL_POSITION, light.position);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, light.linearAttenuation);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
}
