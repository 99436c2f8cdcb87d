#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "data/trackscript.h"
#include "lighting/shadowvolume.h"
#include "meshbuilder.h"
#include "scene/milkshape.h"
#include "testutil.h"

namespace {

SceneLight Light(uint32_t type, float x, float y, float z, uint16_t index = 0) {
    SceneLight l;
    l.type = type;
    l.position[0] = x, l.position[1] = y, l.position[2] = z;
    l.index = index;
    return l;
}

// One group per name, each with one upward triangle; material 0 opaque, material 1 half transparent,
// material 2 opaque but marked to cast no shadow.
CMilkshapeModel Groups(std::initializer_list<std::pair<const char*, int>> groups) {
    CMilkshapeModel m;
    MeshBuilder mesh(m);
    MaterialSpec opaque, glass, decal;
    glass.transparency = 0.5f;
    decal.mode = 0x40;
    for (const MaterialSpec& material : {opaque, glass, decal}) mesh.AddMaterial(material);
    for (const auto& [name, material] : groups) {
        mesh.BeginGroup(name, material);
        mesh.AddFlatTriangle({0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {}, {}, {});
    }
    return m;
}

}  // namespace

TEST(ShadowCasters, GroupNamesMaterialsAndLightTypesDecideStrayLightNumbersAndSunsWithoutDirection) {
    CMilkshapeModel m = Groups({{"T", 0}, {"M", 0}, {"A", 0}, {"rock", 0}, {"glass", 1}, {"decal", 2}, {"bare", -1}});
    const SceneLight sun = Light(LIGHT_SUN, 0, 1, 0);
    const SceneLight lamp = Light(LIGHT_POINT, 0, 5, 0);
    const bool sunCasts[] = {false, false, false, true, false, false, false};
    const bool lampCasts[] = {true, true, true, true, false, false, false};
    for (size_t g = 0; g < m.groups.size(); ++g) {
        EXPECT_EQ(ShouldGroupCast(m, g, sun), sunCasts[g]) << m.groups[g].name;
        EXPECT_EQ(ShouldGroupCast(m, g, lamp), lampCasts[g]) << m.groups[g].name;
    }
    // A light numbered past the list still gets its facing slot; a sun without a direction casts nothing and says so.
    GameTreeSandbox sandbox;
    ClearTrackSettings(gTrackSettings);
    gTrackSettings.lights = {Light(LIGHT_SUN, 0, 1, 0, 0), Light(LIGHT_POINT, 0, 5, 0, 1)};
    // Only groups that cast nothing for this light, so no GL buffer is made.
    CMilkshapeModel none = Groups({{"T", 0}, {"glass", 1}});
    CStaticShadowVolume stray(nullptr, &none, 0, Light(LIGHT_SUN, 0, 1, 0, 5));
    EXPECT_EQ(none.triangles[0].lightFacing.size(), 6u);
    CMilkshapeModel rock = Groups({{"rock", 0}});
    CStaticShadowVolume dark(nullptr, &rock, 0, Light(LIGHT_SUN, 0, 0, 0, 0));
    EXPECT_EQ(dark.groupVolumes[0], nullptr);
    EXPECT_TRUE(Logged("Light 0 has no direction and casts no shadow"));
}
