#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "data/settings.h"
#include "data/trackscript.h"
#include "glcontext.h"
#include "lighting/lensflare.h"
#include "scene/transformation.h"
#include "testutil.h"

namespace {

void ExpectVec(const float* v, float x, float y, float z) {
    EXPECT_NEAR(v[0], x, 1e-5f);
    EXPECT_NEAR(v[1], y, 1e-5f);
    EXPECT_NEAR(v[2], z, 1e-5f);
}

// Where (x, y, z) lands under the model-view matrix that apply() builds from identity.
template <typename F>
void Applied(F apply, float x, float y, float z, float out[3]) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    apply();
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int r = 0; r < 3; ++r) out[r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
}

}  // namespace

TEST(Transformation, MatricesMovesAndTheLensFlareMatchHandWorkedPoints) {
    ASSERT_TRUE(MakeTestGLContext());
    float p[3], d[3];

    // Object to world: rotate (0, 0, 1) by yaw 90 to (1, 0, 0), then move by (5, 0, 0).
    CTransformation t;
    t.SetPosition(5, 0, 0);
    t.SetYaw(90);
    Applied([&] { t.Apply(); }, 0, 0, 1, p);
    ExpectVec(p, 6, 0, 0);
    // Pitch 90 turns +Z down to -Y, after the yaw: (0, 0, 1) -> (0, -1, 0).
    t.SetPitch(90);
    Applied([&] { t.Apply(); }, 0, 0, 1, p);
    ExpectVec(p, 5, -1, 0);
    // GL's own rotations turn +Z where the formula points; roll never changes that.
    t.SetPitch(30);
    t.SetYaw(60);
    t.SetRoll(45);
    Applied([&] { glRotatef(t.yaw, 0, 1, 0); glRotatef(t.pitch, 1, 0, 0); }, 0, 0, 1, p);
    ExpectVec(t.GetDirection(d), p[0], p[1], p[2]);

    // The camera's view transform brings its own position to the origin and the point in front of it
    // (against the direction GetDirection gives) onto -Z; ApplyRotation is the same without the translation.
    CCamera c;
    c.SetPosition(1, 2, 3);
    c.SetYaw(30);
    c.SetPitch(20);
    Applied([&] { c.Apply(); }, 1, 2, 3, p);
    ExpectVec(p, 0, 0, 0);
    c.GetDirection(d);
    Applied([&] { c.Apply(); }, 1 - 4 * d[0], 2 - 4 * d[1], 3 - 4 * d[2], p);
    ExpectVec(p, 0, 0, -4);
    Applied([&] { c.ApplyRotation(); }, -4 * d[0], -4 * d[1], -4 * d[2], p);
    ExpectVec(p, 0, 0, -4);
    // A move follows the view's angles, not the camera's own. (That the travel follows the view's yaw rather
    // than the nose's is shown by the flight model's glancing hit.)
    c.SetPosition(10, 0, 0);
    c.viewPitch = -90;  // D = (0, -1, 0): position - 3 D
    c.MoveAlongView(3);
    ExpectVec(&c.x, 10, 3, 0);
    glLoadIdentity();

    // The lens flare starts at the sun's pixel. (Where its other elements go along the line through the centre is
    // its look.)
    // A camera at the origin looking down -z with a 90 degree, 4:3 perspective, its far plane at infinity.
    LensFlare flare(nullptr);
    flare.viewport[2] = 1024;
    flare.viewport[3] = 768;
    const double view[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const double perspective[16] = {0.75, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, -1, 0, 0, -0.4, 0};
    std::copy(view, view + 16, flare.modelView);
    std::copy(perspective, perspective + 16, flare.projection);
    const float eye[3] = {0.0f, 0.0f, 0.0f}, back[3] = {0.0f, 0.0f, 1.0f};  // GetDirection points back to the eye
    const float sun[3] = {3.0f, 2.0f, -10.0f};
    const std::vector<FlareQuad> quads = flare.Layout(eye, back, sun, 1024);
    ASSERT_EQ(quads.size(), 12u);
    EXPECT_NEAR(quads[0].x, 512.0f * 1.225f, 0.01f);
    EXPECT_NEAR(quads[0].y, 384.0f * 1.2f, 0.01f);
    const float behind[3] = {0.0f, 0.0f, 5.0f};
    double w[3];
    EXPECT_FALSE(flare.Project(behind, w));
    EXPECT_TRUE(flare.IsOccluded(behind));  // nothing is read outside the window
    const float ahead[3] = {0.0f, 0.0f, -5.0f};
    ASSERT_TRUE(flare.Project(ahead, w));
    EXPECT_NEAR(w[0], 512.0, 1e-6);
    // The video page's switch decides whether a track's sun gets a flare.
    const GameSettings saved = gSettings;
    const bool savedSun = gTrackSettings.hasSun;
    gTrackSettings.hasSun = true;
    for (int on : {0, 1}) {
        gSettings.lensFlare = on;
        CCamera camera;
        camera.EnsureLensFlare();
        EXPECT_EQ(camera.lensFlare != nullptr, on == 1);
        camera.ReleaseLensFlare();
    }
    gSettings = saved;
    gTrackSettings.hasSun = savedSun;
}
