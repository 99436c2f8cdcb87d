// Draws a small generated scene (ground, a floating box, a floating open plate, lit by a sun or by a lamp
// that casts shadows) through a stencil technique and writes the picture as a PPM. It prints where, by the
// scene's geometry, shadow must fall and where it must not, as "shadow X Y" and "lit X Y" pixel lines.
//
//   shadowview OUT.ppm plain|zfail|zpp one|two outside|inside sun|lamp

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "shadowframe.h"
#include "scene/milkshape.h"
#include "scene/texturemanager.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

struct ModelBuilder {
    CMilkshapeModel& model;

    uint32_t Vertex(float x, float y, float z) {
        MsVertex v;
        v.position[0] = x, v.position[1] = y, v.position[2] = z;
        model.vertices.push_back(v);
        return uint32_t(model.vertices.size() - 1);
    }
    void Triangle(MsGroup& group, uint32_t a, uint32_t b, uint32_t c) {
        MsTriangle t;
        t.vertexIndices[0] = uint16_t(a), t.vertexIndices[1] = uint16_t(b), t.vertexIndices[2] = uint16_t(c);
        t.groupIndex = uint8_t(model.groups.size());
        // Flat shading: every corner takes the face normal.
        const float* p[3] = {model.vertices[a].position, model.vertices[b].position, model.vertices[c].position};
        const float u[3] = {p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]};
        const float v[3] = {p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]};
        float n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        Normalize(n, n);
        for (auto& corner : t.vertexNormals) corner[0] = n[0], corner[1] = n[1], corner[2] = n[2];
        group.triangleIndices.push_back(uint32_t(model.triangles.size()));
        model.triangles.push_back(t);
    }
    void Quad(MsGroup& group, uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
        Triangle(group, a, b, c);
        Triangle(group, a, c, d);
    }
    MsGroup NewGroup(const char* name) {
        MsGroup g;
        snprintf(g.name, sizeof g.name, "%s", name);
        g.materialIndex = 0;
        return g;
    }
};

// Ground 80 x 80 on y = 0 as a grid with shared corners; a closed box 4 units wide floating from y 3 to 7;
// an open 3 x 3 plate at y 2.
void BuildScene(CMilkshapeModel& model) {
    ModelBuilder b{model};
    MsMaterial white;
    snprintf(white.name, sizeof white.name, "white");
    for (int i = 0; i < 3; ++i) white.ambient[i] = white.diffuse[i] = 1.0f;
    model.materials.push_back(white);

    MsGroup ground = b.NewGroup("ground");
    const int cells = 10;
    const uint32_t first = uint32_t(model.vertices.size());
    for (int i = 0; i <= cells; ++i)
        for (int j = 0; j <= cells; ++j) b.Vertex(-40.0f + 8.0f * j, 0.0f, -40.0f + 8.0f * i);
    for (int i = 0; i < cells; ++i)
        for (int j = 0; j < cells; ++j) {
            const uint32_t v = first + uint32_t(i * (cells + 1) + j);
            b.Quad(ground, v, v + cells + 1, v + cells + 2, v + 1);
        }
    model.groups.push_back(ground);

    MsGroup box = b.NewGroup("box");
    uint32_t c[8];
    for (int i = 0; i < 8; ++i)
        c[i] = b.Vertex((i & 1) ? 2.0f : -2.0f, (i & 2) ? 7.0f : 3.0f, (i & 4) ? 2.0f : -2.0f);
    const int faces[6][4] = {{0, 1, 5, 4}, {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& f : faces) b.Quad(box, c[f[0]], c[f[1]], c[f[2]], c[f[3]]);
    model.groups.push_back(box);

    MsGroup plate = b.NewGroup("plate");
    const uint32_t p0 = b.Vertex(6, 2, 0), p1 = b.Vertex(6, 2, 3), p2 = b.Vertex(9, 2, 3), p3 = b.Vertex(9, 2, 0);
    b.Quad(plate, p0, p1, p2, p3);
    model.groups.push_back(plate);
}

// The one shadow-casting light of the scene: each lit pass replaces the previous one's picture, so two
// casting lights would hide each other's shadows.
void BuildLight(bool sun) {
    ClearTrackSettings(gTrackSettings);
    SceneLight light;
    light.index = 0;
    if (sun) {
        light.type = LIGHT_SUN;
        light.position[0] = 0.4f, light.position[1] = 1.0f, light.position[2] = 0.2f;
        light.color[0] = light.color[1] = light.color[2] = 0.6f;
        gTrackSettings.hasSun = true;
        gTrackSettings.sun = light;
    } else {
        light.type = LIGHT_POINT;
        light.position[0] = 10.0f, light.position[1] = 40.0f, light.position[2] = 10.0f;
        light.color[0] = 0.6f, light.color[1] = 0.5f, light.color[2] = 0.4f;
        light.range = 200.0f;
    }
    gTrackSettings.lights = {light};
}

void PrintProbe(const char* what, float x, float y, float z) {
    double model[16], projection[16], wx, wy, wz;
    int viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
    printf("%s %d %d\n", what, int(std::lround(wx)), kHeight - 1 - int(std::lround(wy)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        fprintf(stderr, "usage: %s OUT.ppm plain|zfail|zpp one|two outside|inside sun|lamp\n", argv[0]);
        return 2;
    }
    const std::string technique = argv[2];
    if (!OpenSceneWindow(argc, argv, kWidth, kHeight, "shadowview")) return 1;
    gTwoSidedStencil = std::strcmp(argv[3], "two") == 0 && glewIsSupported("GL_EXT_stencil_two_side");
    if (std::strcmp(argv[3], "two") == 0 && !gTwoSidedStencil) {
        fprintf(stderr, "GL_EXT_stencil_two_side is not offered\n");
        return 1;
    }
    const bool sun = std::strcmp(argv[5], "sun") == 0;
    BuildLight(sun);
    auto model = std::make_unique<CMilkshapeModel>();
    BuildScene(*model);
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
    RenderModel render(&textures, &camera, model.get(), false, true, technique != "plain");
    std::unique_ptr<CStencilTechnique> stencil;
    if (technique == "zfail") stencil = std::make_unique<CZFailStencilTechnique>(&camera);
    if (technique == "zpp") stencil = std::make_unique<CZPPlusStencilTechnique>(&camera);
    const float ambient[3] = {0.25f, 0.25f, 0.25f};
    BeginSceneState(kWidth, kHeight, ambient);
    if (stencil) {
        stencil->Init();
        stencil->ClearCasters();
        stencil->AddCaster(&render);
    }
    DrawSceneFrame({&render, &camera, stencil.get()});
    if (!WritePpm(argv[1], kWidth, kHeight)) return 1;

    glPushMatrix();
    camera.Apply();
    // Ground points whose ray towards the light crosses the box, then the plate.
    if (sun) {
        PrintProbe("shadow", -2.0f, 0.0f, -1.0f);
        PrintProbe("shadow", 6.7f, 0.0f, 1.1f);
    } else {
        PrintProbe("shadow", -1.4f, 0.0f, -1.4f);
        PrintProbe("shadow", 7.4f, 0.0f, 1.0f);
    }
    // Ground points whose ray towards either light meets nothing.
    PrintProbe("lit", 8.0f, 0.0f, 8.0f);
    PrintProbe("lit", -8.0f, 0.0f, 6.0f);
    PrintProbe("lit", 6.0f, 0.0f, -12.0f);
    glPopMatrix();
    return 0;
}
