// Draws a small scene (ground, a floating box and open plate, one shadow-casting sun or lamp) through the race
// renderer's shadowed passes and a stencil technique ("plain": none) into a PPM, where the game's shaders lie,
// and prints the pixels where shadow must and must not fall ("shadow X Y", "lit X Y"):
//   shadowview OUT.ppm plain|zfail|zpp one|two outside|inside sun|lamp

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "imagewriter.h"
#include "lighting/stenciltechnique.h"
#include "meshbuilder.h"
#include "race/gamerenderer.h"
#include "scene/milkshape.h"
#include "scene/texturemanager.h"
#include "sceneview.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

// Ground 80 x 80 on y = 0 as a grid with shared corners; a closed box 4 units wide floating from y 3 to 7;
// an open 3 x 3 plate at y 2; the one shadow-casting light, a sun or a lamp high above.
void BuildScene(CMilkshapeModel& model, bool sun) {
    MeshBuilder b(model);
    MaterialSpec white;
    white.name = "white";
    white.texture = "white.bmp";  // the point-light program multiplies by the texture
    for (int i = 0; i < 3; ++i) white.ambient[i] = white.diffuse[i] = 1.0f;
    const int material = b.AddMaterial(white);
    b.BeginGroup("ground", material);
    b.AddTerrain({-40.0f, 0.0f, -40.0f}, 10, 10, 8.0f, [](float, float) { return 0.0f; });
    b.BeginGroup("box", material);
    b.AddBox({-2.0f, 3.0f, -2.0f}, {2.0f, 7.0f, 2.0f});
    b.BeginGroup("plate", material);
    b.AddQuad({6, 2, 0}, {6, 2, 3}, {9, 2, 3}, {9, 2, 0});
    ClearTrackSettings(gTrackSettings);
    const SceneLight light = sun ? SceneLight{LIGHT_SUN, {0.4f, 1.0f, 0.2f}, {0.6f, 0.6f, 0.6f, 1.0f}}
                                 : SceneLight{LIGHT_POINT, {10.0f, 40.0f, 10.0f}, {0.6f, 0.5f, 0.4f, 1.0f}, 200.0f};
    gTrackSettings.hasSun = sun;
    if (sun)
        gTrackSettings.sun = light;
    gTrackSettings.lights = {light};
    for (float& a : gTrackSettings.ambientColor)
        a = 0.25f;
}

// Prints where the point lies in the picture, from the top-left.
void PrintProbe(const char* what, float x, float z) {
    double model[16], projection[16], wx, wy, wz;
    int viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, 0.0, z, model, projection, viewport, &wx, &wy, &wz);
    printf("%s %d %d\n", what, int(std::lround(wx)), kHeight - 1 - int(std::lround(wy)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6 || !OpenSceneWindow(argc, argv, kWidth, kHeight, "shadowview"))
        return 2;
    const std::string technique = argv[2];
    const bool sun = std::strcmp(argv[5], "sun") == 0;
    gSettings = DefaultSettings();
    if (!WriteBmp("white.bmp", RgbImage(4, 4, 255, 255, 255))) return 1;
    gTwoSidedStencil = std::strcmp(argv[3], "two") == 0;
    if (gTwoSidedStencil && !glewIsSupported("GL_EXT_stencil_two_side"))
        return 1;
    CMilkshapeModel model;
    BuildScene(model, sun);
    TextureManager textures;
    CCamera camera;
    if (std::strcmp(argv[4], "inside") == 0) {
        // Under the box, in its shadow, looking out over the ground.
        camera.SetPosition(-0.5f, 1.0f, -0.5f);
        camera.SetPitch(20.0f);
        camera.SetYaw(-60.0f);
    } else {
        camera.SetPosition(0.0f, 14.0f, 17.0f);
        camera.SetPitch(40.0f);
    }
    const unsigned shadows = technique != "plain" ? MODEL_STATIC_SHADOWS : 0;
    RenderModel render(&textures, &camera, &model, MODEL_CULL_BY_DISTANCE | shadows);
    std::unique_ptr<CStencilTechnique> stencil;
    if (technique == "zfail") stencil = std::make_unique<CZFailStencilTechnique>(&camera);
    if (technique == "zpp") stencil = std::make_unique<CZPPlusStencilTechnique>(&camera);
    BeginSceneView(kWidth, kHeight);
    SetUpRaceLighting();
    ShaderProgram program("PointLight");
    if (!LinkPointLight(program, "MultiPointLight.frag")) return 1;
    LitProgram lit;
    lit.Locate(program.id);
    if (stencil) {
        stencil->Init();
        stencil->AddCaster(&render);
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    camera.Apply();
    DrawShadowedWorld([&render](const std::function<void(RenderModel&)>& draw) { draw(render); }, stencil.get(), lit,
                      camera);
    if (!WritePpm(argv[1], kWidth, kHeight)) return 1;
    // Ground points whose ray towards the light crosses the box, then the plate; then ground points whose ray
    // towards either light meets nothing.
    PrintProbe("shadow", sun ? -2.0f : -1.4f, sun ? -1.0f : -1.4f);
    PrintProbe("shadow", sun ? 6.7f : 7.4f, sun ? 1.1f : 1.0f);
    PrintProbe("lit", 8.0f, 8.0f);
    PrintProbe("lit", -8.0f, 6.0f);
    PrintProbe("lit", 6.0f, -12.0f);
    return 0;
}
