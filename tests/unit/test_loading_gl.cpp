#include <gtest/gtest.h>

#include <GL/glew.h>

#include "app/loading.h"
#include "app/states.h"
#include "glframe.h"
#include "testutil.h"

namespace {

GLint Depth(GLenum which) {
    GLint depth = 0;
    glGetIntegerv(which, &depth);
    return depth;
}

}  // namespace

// The loading screen is visited before every race: each visit, and each redraw from inside a loader, must
// leave the matrix stacks as it found them, or they overflow after a few dozen races.
TEST(LoadingScreenGL, VisitsKeepTheMatrixStacksAndTheLoaderProjection) {
    GameTreeSandbox sandbox;
    TestScreen screen;
    ASSERT_TRUE(screen.Open(320, 240));
    CLoadRenderer load;
    const GLint projection = Depth(GL_PROJECTION_STACK_DEPTH), modelview = Depth(GL_MODELVIEW_STACK_DEPTH);
    const int16_t savedProgress = gLoadingProgress;
    for (int visit = 0; visit < 100; ++visit) {
        load.enter();
        gLoadingProgress = int16_t(visit % 101);
        load.DrawScreen();
        load.leave();
    }
    EXPECT_EQ(Depth(GL_PROJECTION_STACK_DEPTH), projection);
    EXPECT_EQ(Depth(GL_MODELVIEW_STACK_DEPTH), modelview);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // A redraw in the middle of a load keeps the perspective the loader has just set.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(2.0f, 3.0f, 4.0f);
    glMatrixMode(GL_MODELVIEW);
    gLoadingProgress = 50;
    load.DrawScreen();
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(m[0], 2.0f);
    EXPECT_FLOAT_EQ(m[5], 3.0f);

    gLoadingProgress = savedProgress;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}
