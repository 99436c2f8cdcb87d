#include <gtest/gtest.h>

#include <GL/glew.h>

#include "data/settings.h"
#include "data/trackscript.h"
#include "glcontext.h"
#include "lighting/shadowvolume.h"
#include "lighting/stenciltechnique.h"
#include "scene/milkshape.h"
#include "scene/rendermodel.h"
#include "scene/texturemanager.h"
#include "testutil.h"

namespace {

GLint Integer(GLenum what) {
    GLint v = 0;
    glGetIntegerv(what, &v);
    return v;
}

// A closed cube of 8 shared corners (group "box") and a triangle with a repeated corner (group "bad").
void BoxModel(CMilkshapeModel& m) {
    for (int i = 0; i < 8; ++i) {
        MsVertex v;
        v.position[0] = float(i & 1), v.position[1] = float((i >> 1) & 1), v.position[2] = float((i >> 2) & 1);
        m.vertices.push_back(v);
    }
    m.materials.resize(1);
    const uint16_t quads[6][4] = {{0, 1, 5, 4}, {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    MsGroup box;
    snprintf(box.name, sizeof box.name, "box");
    box.materialIndex = 0;
    auto add = [&m](MsGroup& g, uint16_t a, uint16_t b, uint16_t c) {
        MsTriangle t;
        t.vertexIndices[0] = a, t.vertexIndices[1] = b, t.vertexIndices[2] = c;
        g.triangleIndices.push_back(uint32_t(m.triangles.size()));
        m.triangles.push_back(t);
    };
    for (const auto& q : quads) {
        add(box, q[0], q[1], q[2]);
        add(box, q[0], q[2], q[3]);
    }
    m.groups.push_back(box);
    MsGroup bad;
    snprintf(bad.name, sizeof bad.name, "bad");
    bad.materialIndex = 0;
    add(bad, 0, 0, 1);
    add(bad, 2, 2, 3);
    m.groups.push_back(bad);
}

struct ShadowScene {
    ShadowScene() {
        ClearTrackSettings(gTrackSettings);
        gSettings = DefaultSettings();
        gSettings.shadows = 1;
        SceneLight sun;
        sun.position[1] = 1.0f;
        SceneLight lamp;
        lamp.type = LIGHT_POINT;
        lamp.position[1] = 5.0f;
        lamp.range = 10.0f;
        lamp.castsShadows = false;
        lamp.index = 1;
        gTrackSettings.lights = {sun, lamp};
        BoxModel(model);
    }
    ~ShadowScene() { ClearTrackSettings(gTrackSettings); }
    CMilkshapeModel model;
    CCamera camera;
};

}  // namespace

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
    EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

TEST(StencilTechnique, TrackVolumesFollowTheLightsAndTheViewer) {
    ASSERT_TRUE(MakeTestGLContext());
    GameTreeSandbox sandbox;
    ShadowScene scene;
    TextureManager textures;
    RenderModel track(&textures, &scene.camera, &scene.model, false, true, true);
    ASSERT_EQ(track.staticShadows.size(), 2u);
    ASSERT_NE(track.staticShadows[0], nullptr);
    EXPECT_EQ(track.staticShadows[1], nullptr);  // the lamp casts no shadow
    CStaticShadowVolume& sun = *track.staticShadows[0];
    ASSERT_NE(sun.groupVolumes[0], nullptr);
    EXPECT_EQ(sun.groupVolumes[0]->quadCount, 4);
    EXPECT_EQ(sun.groupVolumes[0]->capIndexCount, 30);
    EXPECT_EQ(sun.groupVolumes[1], nullptr);  // nothing of the bad group is left to cast
    EXPECT_EQ(sun.active, (std::vector<uint8_t>{1, 0}));
    EXPECT_EQ(scene.model.triangles[0].lightFacing, (std::vector<uint8_t>{0, 0}));  // the bottom
    EXPECT_EQ(scene.model.triangles[2].lightFacing, (std::vector<uint8_t>{1, 0}));  // the top
    const float far[3] = {0.0f, 1000.0f, 0.0f};  // the reach itself is the shadow geometry's test
    sun.UpdateVisibility(far);
    EXPECT_EQ(sun.active, (std::vector<uint8_t>{0, 0}));

    const std::string log = ReadText("log.txt");
    const std::string line = "Shadows of light 0: 2 degenerate triangles cast no shadow";
    EXPECT_NE(log.find(line), std::string::npos) << log;
    EXPECT_EQ(log.find(line), log.rfind(line));  // said once
}
