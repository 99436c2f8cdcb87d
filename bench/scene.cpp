// Model loading and render-object building, in one run: bench_scene [repeats]
// Loads a MilkShape file of 65,000 triangles (the most one file's groups can name in full) from memory and
// from disk, and builds a RenderModel (client arrays, three GL buffers, face normals, group boxes) of a
// 100,352-triangle terrain on Mesa's software renderer, off screen.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <GL/glew.h>

#include "data/settings.h"
#include "glcontext.h"
#include "meshbuilder.h"
#include "ms3dwriter.h"
#include "scene/milkshape.h"
#include "scene/rendermodel.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A rolling height field of cellsX x cellsZ squares in strips of rows, one group each.
CMilkshapeModel Terrain(int cellsX, int cellsZ, int rowsPerGroup) {
    CMilkshapeModel m;
    MeshBuilder b(m);
    MaterialSpec grass;
    grass.name = "grass";
    const int material = b.AddMaterial(grass);
    for (int row = 0; row < cellsZ; row += rowsPerGroup) {
        b.BeginGroup("strip", material);
        const int rows = std::min(rowsPerGroup, cellsZ - row);
        b.AddTerrain({0, 0, float(row)}, cellsX, rows, 1.0f,
                     [](float x, float z) { return 3.0f * std::sin(x * 0.1f) * std::cos(z * 0.07f); }, 8.0f);
    }
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    if (!MakeTestGLContext()) {
        fprintf(stderr, "no off-screen GL context\n");
        return 1;
    }
    gSettings.shadows = 0;

    // 65,000 triangles fit one file: 250 x 130 cells, vertices shared within each strip.
    const CMilkshapeModel source = Terrain(250, 130, 10);
    std::vector<uint8_t> file;
    std::string error;
    if (source.triangles.size() > 65535 || !EncodeMs3d(source, {}, file, error)) {
        fprintf(stderr, "cannot encode the load model: %s\n", error.c_str());
        return 1;
    }
    const std::string path = "/tmp/bench_scene.ms3d";
    WriteMs3d(path, source);

    double memoryMs = 1e30, diskMs = 1e30;
    for (int i = 0; i < repeats; ++i) {
        CMilkshapeModel m;
        auto start = Clock::now();
        m.LoadFromMemory(file.data(), file.size(), "bench");
        memoryMs = std::min(memoryMs, Milliseconds(start));
        start = Clock::now();
        m.Load(path.c_str());
        diskMs = std::min(diskMs, Milliseconds(start));
    }
    printf("ms3d load, %zu triangles, %zu vertices, %.1f MB: %.2f ms from memory, %.2f ms from disk (best of %d)\n",
           source.triangles.size(), source.vertices.size(), file.size() / 1e6, memoryMs, diskMs, repeats);

    CMilkshapeModel big = Terrain(224, 224, 8);  // 224 x 224 cells: 100,352 triangles
    CTransformation viewer;
    double buildMs = 1e30;
    for (int i = 0; i < repeats; ++i) {
        const auto start = Clock::now();
        RenderModel r(nullptr, &viewer, &big, MODEL_CULL_BY_DISTANCE);
        glFinish();
        buildMs = std::min(buildMs, Milliseconds(start));
    }
    double flattenMs = 1e30;
    for (int i = 0; i < repeats; ++i) {
        const auto start = Clock::now();
        const FlatMesh mesh = FlattenGroups(big, true);
        flattenMs = std::min(flattenMs, Milliseconds(start));
    }
    printf("RenderModel build, %zu triangles in %zu groups: %.1f ms (best of %d); the array walk alone %.1f ms "
           "(%.0f%% of it)\n",
           big.triangles.size(), big.groups.size(), buildMs, repeats, flattenMs, 100.0 * flattenMs / buildMs);
    printf("building per triangle costs %.2f times loading one\n",
           (buildMs / double(big.triangles.size())) / (memoryMs / double(source.triangles.size())));
    std::remove(path.c_str());
    return 0;
}
