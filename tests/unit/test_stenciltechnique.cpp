#include <gtest/gtest.h>

#include <GL/glew.h>

#include "data/settings.h"
#include "glcontext.h"
#include "lighting/stenciltechnique.h"
#include "scene/transformation.h"
#include "testutil.h"

TEST(StencilTechnique, ZFailMovesTheFarPlaneToInfinityOnly) {
    ASSERT_TRUE(MakeTestGLContext());
    GameTreeSandbox sandbox;
    gSettings = DefaultSettings();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 4.0 / 3.0, 0.2, 200.0);
    float before[16], after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, before);
    CCamera camera;
    CZFailStencilTechnique zfail(&camera);
    zfail.Init();
    zfail.Init();  // every frame again: the result does not move
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int i = 0; i < 16; ++i) {
        if (i == 10) EXPECT_FLOAT_EQ(after[i], -1.0f);
        else if (i == 14) EXPECT_FLOAT_EQ(after[i], -0.4f);
        else EXPECT_FLOAT_EQ(after[i], before[i]) << i;
    }
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

