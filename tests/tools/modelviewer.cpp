// Draws a generated model through the game's point-light shaders in a 640x480 GLUT window until killed:
// a white wall lit by a red, a blue and a white point light, a cut-out "T" panel (colour-keyed BMP) in front
// of it and a sky behind. Run from a scratch folder's bin directory: it writes ../Models and ../Textures,
// reads them back through the game's loaders and prints "frame drawn" after the first frame.
#include <cstdio>

#include "data/trackscript.h"
#include "imagewriter.h"
#include "lighting/shader.h"
#include "meshbuilder.h"
#include "ms3dwriter.h"
#include "scene/milkshape.h"
#include "scene/rendermodel.h"
#include "scene/textureimage.h"
#include "scene/texturemanager.h"
#include "scene/transformation.h"
#include "sceneview.h"

namespace {

struct Viewer {
    TextureManager* textures = nullptr;
    CCamera* camera = nullptr;
    CMilkshapeModel* scene = nullptr;
    CMilkshapeModel* skyModel = nullptr;
    RenderModel* render = nullptr;
    SkyModel* sky = nullptr;
    ShaderProgram* program = nullptr;
    bool reported = false;
};
Viewer gViewer;

SceneLight Light(float x, float y, float z, float r, float g, float b, float range) {
    SceneLight light;
    light.type = LIGHT_POINT;
    light.position[0] = x;
    light.position[1] = y;
    light.position[2] = z;
    light.color[0] = r;
    light.color[1] = g;
    light.color[2] = b;
    light.range = range;
    light.castsShadows = false;
    light.index = uint16_t(gTrackSettings.lights.size());
    return light;
}

bool WriteContent() {
    RgbImage panel(8, 8, 0, 255, 0);
    panel.Fill(4, 0, 8, 8, kColourKey[0], kColourKey[1], kColourKey[2]);  // right half see-through
    if (!WriteJpeg("../Textures/wall.jpg", RgbImage(16, 16, 255, 255, 255)) ||
        !WriteBmp("../Textures/panel.bmp", panel) || !WriteJpeg("../Textures/sky.jpg", RgbImage(8, 8, 40, 40, 90)))
        return false;

    CMilkshapeModel scene;
    MeshBuilder b(scene);
    MaterialSpec wall, cut;
    wall.name = "wall";
    wall.texture = "../Textures/wall.jpg";
    wall.diffuse[0] = wall.diffuse[1] = wall.diffuse[2] = 1.0f;
    cut.name = "panel";
    cut.texture = "..\\Textures\\panel.bmp";
    cut.diffuse[0] = cut.diffuse[1] = cut.diffuse[2] = 1.0f;
    b.BeginGroup("wall", b.AddMaterial(wall));
    b.AddQuad({-8, -6, 0}, {8, -6, 0}, {8, 6, 0}, {-8, 6, 0});
    b.BeginGroup("T", b.AddMaterial(cut));
    b.AddQuad({-1, 2, 0.5f}, {1, 2, 0.5f}, {1, 4, 0.5f}, {-1, 4, 0.5f});

    CMilkshapeModel skyDome;
    MeshBuilder s(skyDome);
    MaterialSpec night;
    night.texture = "../Textures/sky.jpg";
    s.BeginGroup("sky", s.AddMaterial(night));
    s.AddBox({50, 50, 50}, {-50, -50, -50});  // inside out: seen from within
    return WriteMs3d("../Models/scene.ms3d", scene) && WriteMs3d("../Models/sky.ms3d", skyDome);
}

void Display() {
    Viewer& v = gViewer;
    DrawSkyThenPlaceCamera(*v.camera, *v.sky);
    glUseProgram(v.program->id);
    v.render->Draw(true, true, true);
    glUseProgram(0);
    glPopMatrix();
    glutSwapBuffers();
    if (!v.reported) {
        v.reported = true;
        printf("frame drawn\n");
        fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!OpenSceneWindow(argc, argv, 640, 480, "Model viewer") || !WriteContent())
        return 1;

    gSettings.shadows = 1;  // groups get the point lights in their reach
    gTrackSettings.lights = {Light(-4, 0, 1.5f, 1, 0, 0, 3), Light(4, 0, 1.5f, 0, 0, 1, 3),
                             Light(0, 3, 2, 1, 1, 1, 4)};
    Viewer& v = gViewer;
    v.textures = new TextureManager();
    v.camera = new CCamera(v.textures);
    v.camera->SetPosition(0, 0, 10);
    v.scene = new CMilkshapeModel();
    v.skyModel = new CMilkshapeModel();
    if (!v.scene->Load("../Models/scene.ms3d") || !v.skyModel->Load("..\\Models\\sky.ms3d"))
        return 1;
    v.render = new RenderModel(v.textures, v.camera, v.scene, false, true, false);
    v.sky = new SkyModel(v.textures, v.skyModel);

    static ShaderObject vert = LoadShader("MultiPointLight.vert");
    static ShaderObject frag = LoadShader("MultiPointLight.frag");
    v.program = new ShaderProgram("PointLight");
    v.program->Attach(&vert);
    v.program->Attach(&frag);
    if (!v.program->Link())
        return 1;

    // The race renderer's scene state, without a sun and with no ambient light.
    BeginSceneView(640, 480);
    const float none[4] = {0, 0, 0, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glEnable(GL_LIGHTING);

    glutDisplayFunc(Display);
    glutIdleFunc(glutPostRedisplay);
    glutMainLoop();
    return 0;
}
