#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>

#include "data/settings.h"
#include "data/trackscript.h"
#include "glcontext.h"
#include "imagewriter.h"
#include "meshbuilder.h"
#include "scene/rendermodel.h"
#include "scene/texturemanager.h"
#include "testutil.h"

namespace {

SceneLight PointLight(float x, float y, float z, float range, bool shadows = false) {
    SceneLight light;
    light.type = LIGHT_POINT;
    light.position[0] = x;
    light.position[1] = y;
    light.position[2] = z;
    light.range = range;
    light.castsShadows = shadows;
    return light;
}

// Restores the globals a test changes.
class SceneGlobals {
public:
    SceneGlobals() : settings_(gSettings), lights_(gTrackSettings.lights) {}
    ~SceneGlobals() {
        gSettings = settings_;
        gTrackSettings.lights = lights_;
    }

private:
    GameSettings settings_;
    std::vector<SceneLight> lights_;
};

// A unit square in the z = 0 plane facing +z, spanning [x0, x0 + 1] x [0, 1].
void Square(MeshBuilder& b, float x0) {
    b.AddQuad({x0, 0, 0}, {x0 + 1, 0, 0}, {x0 + 1, 1, 0}, {x0, 1, 0});
}

// Looks straight down -z at [0, width] x [0, 1], textured, with vertex and texture arrays on.
void FlatView(float width) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
}

std::vector<float> BufferContents(uint32_t buffer, size_t floats) {
    std::vector<float> out(floats);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(floats * sizeof(float)), out.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return out;
}

}  // namespace

TEST(RenderModel, BuildLaysGroupsOutInOrder) {
    ASSERT_TRUE(MakeTestGLContext());
    SceneGlobals globals;
    gSettings.shadows = 0;
    CMilkshapeModel m;
    MeshBuilder b(m);
    b.AddMaterial({});
    b.BeginGroup("first", 0);
    Square(b, 5);
    b.BeginGroup("second", 0);
    b.AddFlatTriangle({0, 0, 0}, {2, 0, 0}, {0, 0, -2}, {0.5f, 0.25f}, {1, 0}, {0, 1});
    // The second group names its triangle first, so runs follow group order, not triangle order.
    std::swap(m.groups[0].triangleIndices, m.groups[1].triangleIndices);

    RenderModel r(nullptr, nullptr, &m, true, false, false);
    ASSERT_EQ(r.groupRuns.size(), 2u);
    EXPECT_EQ(r.groupRuns[1].first, 3);
    EXPECT_EQ(r.groupRuns[1].count, 6);
    EXPECT_EQ(m.triangles[2].firstRenderVertex, 0u);
    EXPECT_EQ(m.triangles[1].firstRenderVertex, 6u);
    // (B - A) x (C - A) = (2, 0, 0) x (0, 0, -2) = (0, 4, 0).
    EXPECT_FLOAT_EQ(m.triangles[2].normal[1], 1.0f);
    const std::vector<float> uv = BufferContents(r.texCoordBuffer, 18);
    EXPECT_FLOAT_EQ(uv[1], -0.25f);  // t is negated
    // Each group's box is frozen around its own corners.
    EXPECT_FLOAT_EQ(r.groupBoxes[1].center[0], 5.5f);
    EXPECT_FLOAT_EQ(r.groupBoxes[1].radius, std::sqrt(0.5f));
}

TEST(RenderModel, BadIndicesAndSharedTrianglesStayInBounds) {
    ASSERT_TRUE(MakeTestGLContext());
    CMilkshapeModel m;
    MeshBuilder b(m);
    b.BeginGroup("a", -1);
    Square(b, 0);
    // Two groups naming the same triangles, and indices that name nothing.
    m.groups.push_back(m.groups[0]);
    m.groups[1].triangleIndices.push_back(99);
    m.triangles[1].vertexIndices[2] = 500;
    RenderModel r(nullptr, nullptr, &m, true, false, false);
    EXPECT_EQ(r.groupRuns[0].count, 3);
    EXPECT_EQ(r.groupRuns[1].first, 3);
    EXPECT_EQ(r.groupRuns[1].count, 3);
}

TEST(RenderModel, DistanceCullingAndGroupNames) {
    ASSERT_TRUE(MakeTestGLContext());
    CMilkshapeModel m;
    MeshBuilder b(m);
    b.BeginGroup("far", -1);
    b.AddBox({-100, -100, -100}, {100, 100, 100});
    b.BeginGroup("S", -1);
    Square(b, 0);
    b.BeginGroup("A", -1);
    Square(b, 0);
    CTransformation viewer;
    RenderModel track(nullptr, &viewer, &m, false, true, false);
    // Freeze the first box to radius 150 about the origin, as in a hand-worked case.
    track.groupBoxes[0].radius = 150.0f;
    viewer.SetPosition(350, 0, 0);
    EXPECT_TRUE(track.IsGroupVisible(0, true));  // 350 <= 150 + 200
    viewer.SetPosition(351, 0, 0);
    EXPECT_FALSE(track.IsGroupVisible(0, true));
    viewer.SetPosition(0, 0, 0);  // inside the box
    EXPECT_TRUE(track.IsGroupVisible(0, true));
    EXPECT_FALSE(track.IsGroupVisible(1, true));
    EXPECT_TRUE(track.IsGroupVisible(2, true));
    EXPECT_FALSE(track.IsGroupVisible(2, false));

    RenderModel vehicle(nullptr, &viewer, &m, true, false, false);
    EXPECT_TRUE(vehicle.IsGroupVisible(1, true));  // "S" is drawn by models that do not cull
    EXPECT_TRUE(vehicle.IsGroupVisible(2, false));
}

TEST(RenderModel, LightsPerGroupAndNearest) {
    ASSERT_TRUE(MakeTestGLContext());
    SceneGlobals globals;
    gSettings.shadows = 1;
    SceneLight sun;
    sun.type = LIGHT_SUN;
    gTrackSettings.lights = {sun,
                             PointLight(0.5f, 0.5f, 3, 3),   // reaches the square exactly
                             PointLight(0.5f, 0.5f, 3, 2.9f),  // falls just short
                             PointLight(0, 0, 0.5f, 1, true)};
    for (int i = 0; i < 4; ++i)
        gTrackSettings.lights.push_back(PointLight(1, 1, 1, 5));
    gTrackSettings.lights[5].position[0] = 40;  // the farthest of the lights without shadows

    CMilkshapeModel m;
    MeshBuilder b(m);
    b.BeginGroup("square", -1);
    Square(b, 0);
    CTransformation viewer;
    RenderModel r(nullptr, &viewer, &m, false, true, false);
    // Every point light whose range reaches the box, shadow casters included: 1, 3, 4, 6 and 7.
    ASSERT_EQ(r.groupLights[0].size(), 5u);
    EXPECT_FLOAT_EQ(r.groupLights[0][0].range, 3);
    EXPECT_TRUE(r.groupLights[0][1].castsShadows);

    // The nearest four without shadows, seen from the origin: 4, 6 and 7 at sqrt(3), and of the two at
    // 3.08 the later one (the earlier slot is replaced on a tie); light 5 at x = 40 was pushed out first.
    r.SelectNearestLights();
    EXPECT_EQ(r.nearestLights[0], &gTrackSettings.lights[7]);
    EXPECT_EQ(r.nearestLights[1], &gTrackSettings.lights[2]);
    EXPECT_EQ(r.nearestLights[2], &gTrackSettings.lights[4]);
    EXPECT_EQ(r.nearestLights[3], &gTrackSettings.lights[6]);

    // With more than four lights in reach the group is lit by the nearest ones.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    viewer.SetPosition(0, 0, 1);
    r.SetupGroupLights(0);
    float position[4], linear = 0;
    glGetLightfv(GL_LIGHT1, GL_POSITION, position);
    EXPECT_FLOAT_EQ(position[0], 1.0f);  // light 7 - viewer, a direction
    EXPECT_FLOAT_EQ(position[2], 0.0f);
    EXPECT_FLOAT_EQ(position[3], 0.0f);
    glGetLightfv(GL_LIGHT1, GL_LINEAR_ATTENUATION, &linear);
    EXPECT_FLOAT_EQ(linear, 0.2f);

    // With at most four, by its own list.
    gTrackSettings.lights = {PointLight(0.5f, 0.5f, 3, 3)};
    RenderModel few(nullptr, &viewer, &m, false, true, false);
    few.SetupGroupLights(0);
    glGetLightfv(GL_LIGHT1, GL_POSITION, position);
    EXPECT_FLOAT_EQ(position[0], 0.5f);
    EXPECT_FLOAT_EQ(position[2], 2.0f);
    glGetLightfv(GL_LIGHT1, GL_LINEAR_ATTENUATION, &linear);
    EXPECT_FLOAT_EQ(linear, 1.0f / 3);

    // Without the shadows setting no group gets lights.
    gSettings.shadows = 0;
    RenderModel plain(nullptr, &viewer, &m, false, true, false);
    EXPECT_TRUE(plain.groupLights[0].empty());
}

TEST(RenderModel, PassesDrawTheirGroups) {
    ASSERT_TRUE(MakeTestGLContext());
    SceneGlobals globals;
    gSettings.shadows = 0;
    GameTreeSandbox tree;
    // Red and blue pictures, and a green one whose right half is the colour key.
    ASSERT_TRUE(WriteBmp(tree.Path("Textures/red.bmp"), RgbImage(8, 8, 255, 0, 0)));
    ASSERT_TRUE(WriteBmp(tree.Path("Textures/blue.bmp"), RgbImage(8, 8, 0, 0, 255)));
    RgbImage cut(8, 8, 0, 255, 0);
    cut.Fill(4, 0, 8, 8, 0x35, 0xBF, 0xCB);
    ASSERT_TRUE(WriteBmp(tree.Path("Textures/cut.bmp"), cut));

    CMilkshapeModel m;
    MeshBuilder b(m);
    MaterialSpec red, blue, green;
    red.texture = "../Textures/red.bmp";
    blue.texture = "../Textures/blue.bmp";
    blue.transparency = 0.5f;
    green.texture = "../Textures/cut.bmp";
    b.BeginGroup("opaque", b.AddMaterial(red));
    Square(b, 0);
    b.BeginGroup("glass", b.AddMaterial(blue));
    Square(b, 1);
    b.BeginGroup("T", b.AddMaterial(green));
    Square(b, 2);
    b.BeginGroup("hidden", -1);
    Square(b, 3);

    TextureManager textures;
    RenderModel r(&textures, nullptr, &m, false, false, false);
    EXPECT_NE(m.materials[0].textureId, 0u);
    EXPECT_EQ(textures.Entries().size(), 4u);

    TestFramebuffer fb(40, 10);
    FlatView(4);
    glDisable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glEnableClientState(GL_NORMAL_ARRAY);
    auto pixel = [&](int x) {
        unsigned char c[4];
        fb.Pixel(x, 5, c);
        return std::vector<int>{c[0], c[1], c[2]};
    };

    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    r.Draw(true, false, true);
    EXPECT_EQ(pixel(5), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(pixel(15), (std::vector<int>{0, 0, 0}));  // translucent: not in the opaque pass
    EXPECT_EQ(pixel(22), (std::vector<int>{0, 0, 0}));  // "T" waits for the cut-out pass

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    r.Draw(false, true, true);
    EXPECT_EQ(pixel(5), (std::vector<int>{0, 0, 0}));
    // Blue at colour (0.5, 0.5, 0.5, 0.5), blended over black: 255 * 0.5 * 0.5.
    EXPECT_NEAR(pixel(15)[2], 64, 2);
    EXPECT_EQ(pixel(22), (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(pixel(27), (std::vector<int>{0, 0, 0}));  // the key's alpha 0 fails the alpha test
    EXPECT_EQ(pixel(35), (std::vector<int>{0, 0, 0}));  // a group without material is never drawn
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
    glDisable(GL_BLEND);
}

TEST(RenderModel, SkyDrawsEveryGroupWithoutDepth) {
    ASSERT_TRUE(MakeTestGLContext());
    GameTreeSandbox tree;
    ASSERT_TRUE(WriteJpeg(tree.Path("Textures/sky.jpg"), RgbImage(8, 8, 200, 200, 255), 100));
    CMilkshapeModel m;
    MeshBuilder b(m);
    MaterialSpec sky;
    sky.texture = "../Textures/sky.jpg";
    b.BeginGroup("dome", b.AddMaterial(sky));
    Square(b, 0);
    TextureManager textures;
    SkyModel s(&textures, &m);
    EXPECT_EQ(textures.Entries()[1].keep, false);

    TestFramebuffer fb(10, 10);
    FlatView(1);
    glClearDepth(0.0);  // any depth test would fail everywhere
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    s.Draw();
    unsigned char c[4];
    fb.Pixel(5, 5, c);
    EXPECT_NEAR(c[0], 200, 3);
    EXPECT_NEAR(c[2], 255, 3);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));  // put back for the scene after the sky
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
}
