#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>

#include "data/settings.h"
#include "data/trackscript.h"
#include "glcontext.h"
#include "meshbuilder.h"
#include "scene/rendermodel.h"
#include "testutil.h"

namespace {

SceneLight PointLight(float x, float y, float z, float range, bool shadows = false) {
    return {LIGHT_POINT, {x, y, z}, {1.0f, 1.0f, 1.0f, 1.0f}, range, shadows};
}

// Restores the globals a test changes.
struct SceneGlobals {
    GameSettings settings = gSettings;
    std::vector<SceneLight> lights = gTrackSettings.lights;
    ~SceneGlobals() {
        gSettings = settings;
        gTrackSettings.lights = lights;
    }
};

// A unit square in the z = 0 plane facing +z, spanning [x0, x0 + 1] x [0, 1].
void Square(MeshBuilder& b, float x0) {
    b.AddQuad({x0, 0, 0}, {x0 + 1, 0, 0}, {x0 + 1, 1, 0}, {x0, 1, 0});
}

}  // namespace

// Two groups naming the same triangles, and indices that name nothing, stay in bounds.
TEST(RenderModel, BadIndicesStayInBoundsDistanceCullingGroupNamesAndLightsPerGroup) {
    ASSERT_TRUE(MakeTestGLContext());
    CMilkshapeModel bad;
    MeshBuilder badMesh(bad);
    badMesh.BeginGroup("a", -1);
    Square(badMesh, 0);
    bad.groups.push_back(bad.groups[0]);
    bad.groups[1].triangleIndices.push_back(99);
    bad.triangles[1].vertexIndices[2] = 500;
    RenderModel r(nullptr, nullptr, &bad, MODEL_KEEP_TEXTURES);
    EXPECT_EQ(r.groupRuns[0].count, 3);
    EXPECT_EQ(r.groupRuns[1].first, 3);
    EXPECT_EQ(r.groupRuns[1].count, 3);

    CMilkshapeModel m;
    MeshBuilder b(m);
    b.BeginGroup("far", -1);
    b.AddBox({-100, -100, -100}, {100, 100, 100});
    b.BeginGroup("S", -1);
    Square(b, 0);
    b.BeginGroup("A", -1);
    Square(b, 0);
    CTransformation viewer;
    RenderModel track(nullptr, &viewer, &m, MODEL_CULL_BY_DISTANCE);
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

    RenderModel vehicle(nullptr, &viewer, &m, MODEL_KEEP_TEXTURES);
    EXPECT_TRUE(vehicle.IsGroupVisible(1, true));  // "S" is drawn by models that do not cull
    EXPECT_TRUE(vehicle.IsGroupVisible(2, false));
    // Lights per group, and the nearest.
    SceneGlobals globals;
    gSettings.shadows = 1;
    gTrackSettings.lights = {SceneLight(),  // a sun
                             PointLight(0.5f, 0.5f, 3, 3),   // reaches the square exactly
                             PointLight(0.5f, 0.5f, 3, 2.9f),  // falls just short
                             PointLight(0, 0, 0.5f, 1, true)};
    for (int i = 0; i < 4; ++i)
        gTrackSettings.lights.push_back(PointLight(1, 1, 1, 5));
    gTrackSettings.lights[5].position[0] = 40;  // the farthest of the lights without shadows
    gTrackSettings.lights.push_back(PointLight(0.5f, 0.5f, 3, 3));  // ties with light 1 and 2, loses to both

    CMilkshapeModel square;
    MeshBuilder squareMesh(square);
    squareMesh.BeginGroup("square", -1);
    Square(squareMesh, 0);
    RenderModel lit(nullptr, &viewer, &square, MODEL_CULL_BY_DISTANCE);
    // Every point light whose range reaches the box, but not the shadow caster 3, which lights in its own
    // pass: 1, 4, 6, 7 and 8.
    ASSERT_EQ(lit.groupLights[0].size(), 5u);
    EXPECT_FLOAT_EQ(lit.groupLights[0][0].range, 3);
    EXPECT_FLOAT_EQ(lit.groupLights[0][1].range, 5);

    // The nearest four without shadows, seen from the origin: 4, 6 and 7 at sqrt(3), and of the two at
    // 3.08 the later one (the earlier slot is replaced on a tie); light 5 at x = 40 was pushed out first.
    lit.SelectNearestLights();
    EXPECT_EQ(lit.nearestLights[0], &gTrackSettings.lights[7]);
    EXPECT_EQ(lit.nearestLights[1], &gTrackSettings.lights[2]);
    EXPECT_EQ(lit.nearestLights[2], &gTrackSettings.lights[4]);
    EXPECT_EQ(lit.nearestLights[3], &gTrackSettings.lights[6]);

    // With more than four lights in reach the group is lit by the nearest ones, with at most four by its own
    // list. (How a lamp lights a wall is the race shadows test's.)
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    viewer.SetPosition(0.25f, 0, 0);
    lit.SetupGroupLights(0);
    float position[4];
    glGetLightfv(GL_LIGHT1, GL_POSITION, position);
    EXPECT_FLOAT_EQ(position[0], 0.75f);  // light 7 - viewer
    gTrackSettings.lights = {PointLight(0.5f, 0.5f, 3, 3)};
    RenderModel few(nullptr, &viewer, &square, MODEL_CULL_BY_DISTANCE);
    few.SetupGroupLights(0);
    glGetLightfv(GL_LIGHT1, GL_POSITION, position);
    EXPECT_FLOAT_EQ(position[0], 0.25f);

    // Without the shadows setting no group gets lights.
    gSettings.shadows = 0;
    RenderModel plain(nullptr, &viewer, &square, MODEL_CULL_BY_DISTANCE);
    EXPECT_TRUE(plain.groupLights[0].empty());
}

