#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "data/settings.h"
#include "data/trackscript.h"
#include "lighting/lensflare.h"
#include "scene/transformation.h"

namespace {

// A camera at the origin looking down -z with a 90 degree, 4:3 perspective, its far plane at infinity.
void SetView(LensFlare& flare, int width, int height) {
    flare.viewport[2] = width;
    flare.viewport[3] = height;
    const double view[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const double perspective[16] = {0.75, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, -1, 0, 0, -0.4, 0};
    std::copy(view, view + 16, flare.modelView);
    std::copy(perspective, perspective + 16, flare.projection);
}

const float kEye[3] = {0.0f, 0.0f, 0.0f};
const float kBack[3] = {0.0f, 0.0f, 1.0f};  // the camera's GetDirection points back towards the eye

// The quads of the flare for a sun at (x, y, -10) in a window of the given width (4:3).
std::vector<FlareQuad> FlareFor(float x, float y, int width) {
    LensFlare flare(nullptr);
    SetView(flare, width, width * 3 / 4);
    const float sun[3] = {x, y, -10.0f};
    return flare.Layout(kEye, kBack, sun, width);
}

}  // namespace

TEST(LensFlare, LayoutProjectionAndTheSettingsSwitch) {
    const std::vector<FlareQuad> quads = FlareFor(0.0f, 0.0f, 1024);
    ASSERT_EQ(quads.size(), 12u);
    EXPECT_NEAR(quads[0].x, 512.0f, 0.01f);
    EXPECT_NEAR(quads[0].y, 384.0f, 0.01f);
    EXPECT_FLOAT_EQ(quads[0].half, 128.0f);  // a 256 x 256 square at a width of 1024
    EXPECT_FLOAT_EQ(FlareFor(0.0f, 0.0f, 800)[0].half, 100.0f);

    // Off the centre, the three shines share the sun's point and the other elements lie on one line through it.
    const std::vector<FlareQuad> off = FlareFor(3.0f, 2.0f, 1024);
    ASSERT_EQ(off.size(), 12u);
    for (int i = 1; i < 3; ++i) {
        EXPECT_NEAR(off[i].x, off[0].x, 0.01f);
        EXPECT_NEAR(off[i].y, off[0].y, 0.01f);
    }
    const float dx = off[3].x - off[0].x, dy = off[3].y - off[0].y;
    ASSERT_GT(std::hypot(dx, dy), 1.0f);
    for (size_t i = 4; i < off.size(); ++i)
        EXPECT_NEAR((dx * (off[i].y - off[0].y) - dy * (off[i].x - off[0].x)) / std::hypot(dx, dy), 0.0f, 0.05f) << i;
    LensFlare flare(nullptr);
    SetView(flare, 1024, 768);
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
