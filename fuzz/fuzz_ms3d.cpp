#include "fuzz.h"
#include "meshbuilder.h"
#include "ms3dwriter.h"
#include "scene/milkshape.h"

// Whatever the bytes, the loader either refuses them or leaves a model whose indices are all in range.
FUZZ_TARGET {
    static const std::vector<uint8_t> sound = [] {
        CMilkshapeModel m;
        MeshBuilder b(m);
        MaterialSpec material;
        material.name = "m";
        material.texture = "../Textures/t.jpg";
        b.BeginGroup("A", b.AddMaterial(material));
        b.AddBox({0, 0, 0}, {1, 1, 1});
        m.groups[0].comment = "c";
        m.comment = "model";
        MsJoint j;
        j.rotationKeys.resize(2);
        j.positionKeys.resize(1);
        m.joints.push_back(j);
        std::vector<uint8_t> bytes;
        std::string error;
        EncodeMs3d(m, {}, bytes, error);
        return bytes;
    }();
    PatchInput(data, size, sound);
    CMilkshapeModel model;
    model.LoadFromMemory(data, size, "fuzz.ms3d");
    for (const MsTriangle& t : model.triangles)
        for (uint16_t v : t.vertexIndices)
            Require(v < model.vertices.size());
    for (const MsGroup& g : model.groups) {
        for (uint32_t t : g.triangleIndices)
            Require(t < model.triangles.size());
        Require(g.materialIndex < 0 || model.MaterialOf(g));
    }
}
