#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "meshbuilder.h"
#include "ms3dwriter.h"
#include "scene/milkshape.h"
#include "testutil.h"

namespace {

// A small model touching every record: two groups, two materials, a joint with keys, comments.
CMilkshapeModel SampleModel() {
    CMilkshapeModel m;
    MeshBuilder b(m);
    MaterialSpec rock;
    rock.name = "rock";
    rock.texture = "../Textures/rock.jpg";
    rock.transparency = 0.4f;
    const int rockIndex = b.AddMaterial(rock);
    MaterialSpec glass;
    glass.name = "glass";
    b.AddMaterial(glass);
    b.BeginGroup("box", rockIndex);
    b.AddBox({-1, 0, -1}, {1, 2, 1});
    b.BeginGroup("T", 1);
    b.AddQuad({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0});
    m.groups[0].comment = "group comment";
    m.materials[1].comment = "material comment";
    m.comment = "model comment";
    m.animationFps = 10.0f;
    MsJoint j;
    std::strcpy(j.name, "root");
    MsKeyframe key;
    key.time = 20.0f;  // frames, i.e. 2 seconds in the file
    key.value[1] = 3.0f;
    j.rotationKeys.push_back(key);
    j.positionKeys.push_back(key);
    j.color[2] = 0.5f;
    m.joints.push_back(j);
    m.vertices[0].boneIds[0] = 7;
    m.vertices[0].weights[0] = 100;
    m.vertices[0].extra = 0xDEADBEEF;
    m.jointSize = 2.5f;
    m.transparencyMode = 1;
    m.alphaRef = 0.25f;
    return m;
}

std::vector<uint8_t> Encode(const CMilkshapeModel& m, const Ms3dWriteOptions& options = {}) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(EncodeMs3d(m, options, bytes, error)) << error;
    return bytes;
}

bool LoadBytes(CMilkshapeModel& m, const std::vector<uint8_t>& bytes) {
    return m.LoadFromMemory(bytes.data(), bytes.size(), "test.ms3d");
}

// Byte offset of the joints section's end in a file without trailer blocks.
size_t GeometryEnd(const CMilkshapeModel& m) {
    return Encode(m, {false}).size();
}

void PutI32(std::vector<uint8_t>& bytes, size_t at, int32_t v) {
    std::memcpy(&bytes[at], &v, 4);
}

}  // namespace

// A generated file round-trips. Files the writer does not give are sound all the same. (A file ending after any
// whole block: the damaged files' cuts.)
TEST(Milkshape, GeneratedFileRoundTripsAndOddButSoundFilesLoad) {
    GameTreeSandbox tree;
    CMilkshapeModel source = SampleModel();
    ASSERT_TRUE(WriteMs3d(tree.Path("Models/sample.ms3d"), source));

    CMilkshapeModel m;
    ASSERT_TRUE(m.Load("..\\Models\\sample.ms3d"));  // the game's own path spelling
    // Written again, what was read gives the same bytes: every record and trailer block survives.
    EXPECT_EQ(Encode(m), Encode(source));
    // Transparency 0.4 becomes the alpha of all four colours.
    for (const float* c : {m.materials[0].ambient, m.materials[0].diffuse, m.materials[0].specular,
                           m.materials[0].emissive})
        EXPECT_FLOAT_EQ(c[3], 0.4f);
    // What the format cannot hold is refused, not written wrapped.
    m.vertices.resize(65536);
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(EncodeMs3d(m, {}, bytes, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(bytes.empty());

    // Vertex extras of sub-version 1 carry no extra word.
    ASSERT_TRUE(LoadBytes(m, Encode(source, {true, 1})));
    EXPECT_EQ(m.vertices[0].weights[0], 100);
    EXPECT_EQ(m.vertices[0].extra, 0u);
    EXPECT_FLOAT_EQ(m.jointSize, 2.5f);

    // Sub-version 3 leaves bone ids, weights and extra untouched.
    bytes = Encode(source);
    size_t commentsEnd = GeometryEnd(source) + 4 + 3 * 4;  // sub-version and three empty lists...
    commentsEnd += 8 + 13 + 8 + 16 + 4 + 4 + 13;            // ...plus the two comments and the model comment
    PutI32(bytes, commentsEnd, 3);
    ASSERT_TRUE(LoadBytes(m, bytes)) << LogText();
    EXPECT_EQ(m.vertices[0].boneIds[0], -1);
    EXPECT_EQ(m.vertices[0].weights[0], 0);
    EXPECT_EQ(m.vertices[0].extra, 0u);
    EXPECT_EQ(m.comment, "model comment");

    std::memset(source.groups[0].name, 'g', kMsNameBytes);  // names filling their fields stay terminated
    std::memset(source.materials[0].texture, 't', kMsFileNameBytes);
    source.animationFps = 0.5f;
    source.groups[1].comment = "ok";
    // The file says 0.5 frames per second and holds the key at 20 seconds; the rate is raised to 1,
    // so the key lands on frame 20.
    bytes = Encode(source);
    // A group comment with index == group count is read past and dropped; the next one still lands.
    PutI32(bytes, GeometryEnd(source) + 4 + 4, 2);
    ASSERT_TRUE(LoadBytes(m, bytes));
    EXPECT_EQ(std::strlen(m.groups[0].name), size_t(kMsNameBytes));
    EXPECT_EQ(std::strlen(m.materials[0].texture), size_t(kMsFileNameBytes));
    EXPECT_FLOAT_EQ(m.animationFps, 1.0f);
    EXPECT_FLOAT_EQ(m.joints[0].rotationKeys[0].time, 20.0f);
    EXPECT_TRUE(m.groups[0].comment.empty());
    EXPECT_EQ(m.groups[1].comment, "ok");
}

TEST(Milkshape, DamagedFilesLoadNothingAndSayWhy) {
    GameTreeSandbox tree;
    const CMilkshapeModel source = SampleModel();
    const std::vector<uint8_t> good = Encode(source);
    const size_t geometryEnd = GeometryEnd(source);
    CMilkshapeModel m = SampleModel();
    EXPECT_FALSE(m.Load("../Models/none.ms3d"));
    EXPECT_EQ(m.triangles.size(), 14u);  // unchanged when the file cannot be opened

    // A wrong version or magic word, or a triangle naming a vertex that does not exist, loads nothing and says
    // why. (fuzz_ms3d holds every other index in range, and any length to the file's end.)
    const size_t firstTriangle = 14 + 2 + 15 * source.vertices.size() + 2;
    const struct {
        size_t at;
        std::vector<uint8_t> put;
        const char* logged;
    } damaged[] = {
        {10, {3, 0, 0, 0}, "is not a MilkShape 3D version 4 file"},
        {0, {'X'}, "is not a MilkShape 3D version 4 file"},
        {firstTriangle + 2, {0xFF, 0x7F}, "a triangle names a vertex that does not exist"},
    };
    std::vector<uint8_t> bytes;
    for (const auto& c : damaged) {
        std::filesystem::remove("log.txt");
        bytes = good;
        std::copy(c.put.begin(), c.put.end(), bytes.begin() + long(c.at));
        EXPECT_FALSE(LoadBytes(m, bytes)) << c.logged;
        EXPECT_TRUE(m.triangles.empty() && m.groups.empty() && m.vertices.empty()) << c.logged;
        EXPECT_NE(ReadText("log.txt").find(c.logged), std::string::npos);
    }

    // Every cut inside the mandatory sections gives an empty model and false.
    for (size_t cut = 0; cut < geometryEnd; cut += 7) {
        bytes.assign(good.begin(), good.begin() + long(cut));
        EXPECT_FALSE(LoadBytes(m, bytes)) << cut;
        EXPECT_TRUE(m.vertices.empty() && m.triangles.empty() && m.groups.empty()) << cut;
    }
    // A cut inside a trailer block keeps the geometry but still reports the damage; a cut between two
    // blocks (where each file written without the later ones ends) is a shorter, sound file.
    const Ms3dWriteOptions upTo[] = {{true, 0}, {true, 2, false}, {true, 2, true, false}};
    std::vector<size_t> blockEnds = {geometryEnd};
    for (const Ms3dWriteOptions& options : upTo)
        blockEnds.push_back(Encode(source, options).size());
    for (size_t cut = geometryEnd; cut <= good.size(); ++cut) {
        bytes.assign(good.begin(), good.begin() + long(cut));
        const bool atBlockEnd = cut == good.size() || std::count(blockEnds.begin(), blockEnds.end(), cut) > 0;
        EXPECT_EQ(LoadBytes(m, bytes), atBlockEnd) << cut;
        EXPECT_EQ(m.triangles.size(), 14u) << cut;
    }
}

// Every generated face is seen from outside: its winding and its corners' normals point away from the part's
// middle, for a loft from a point to a flat end and for plates whose corners run either way; fitted to a
// box, the model spans it exactly and its normals stay unit length.
TEST(MeshBuilder, LoftsAndPlatesFaceOutwardsAndFitTheirBox) {
    CMilkshapeModel m;
    MeshBuilder b(m);
    b.AddLoft({{-2.0f, 0.0f, 1.0f, 0.0f, 0.0f}, {-1.0f, 0.0f, 1.0f, 0.5f, 0.3f, 4.0f}, {1.0f, 0.0f, 1.0f, 0.4f, 0.2f}},
              12);
    const Vec3 plate[4] = {{3, 0, 0}, {4, 0, 0}, {4, 0, -1}, {3, 0, -1}};
    const Vec3 reversed[4] = {plate[3] + Vec3{0, 2, 0}, plate[2] + Vec3{0, 2, 0}, plate[1] + Vec3{0, 2, 0},
                              plate[0] + Vec3{0, 2, 0}};
    b.AddPlate(plate, {0.0f, 0.1f, 0.0f});
    b.AddPlate(reversed, {0.0f, 0.1f, 0.0f});
    auto middle = [](const Vec3& p) {
        return p.x < 2.0f ? Vec3{0.0f, 1.0f, std::max(-1.0f, std::min(0.5f, p.z))} : Vec3{3.5f, p.y > 1.0f ? 2.0f : 0.0f, -0.5f};
    };
    auto dot = [](const Vec3& a, const Vec3& c) { return a.x * c.x + a.y * c.y + a.z * c.z; };
    for (const MsTriangle& t : m.triangles) {
        Vec3 p[3];
        for (int k = 0; k < 3; ++k) {
            const float* v = m.vertices[t.vertexIndices[k]].position;
            p[k] = {v[0], v[1], v[2]};
        }
        const Vec3 face = Cross(p[1] - p[0], p[2] - p[0]), out = (p[0] + p[1] + p[2]) * (1.0f / 3.0f);
        if (dot(face, face) < 1e-10f)
            continue;  // the collapsed half of a quad at the loft's point
        EXPECT_GT(dot(face, out - middle(out)), 0.0f) << out.x << " " << out.y << " " << out.z;
        for (const float* n : t.vertexNormals)
            EXPECT_GT(dot({n[0], n[1], n[2]}, face), 0.0f);
    }
    FitToBox(m, {-1, 0, -3}, {1, 0.5f, 2});
    float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
    for (const MsVertex& v : m.vertices)
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], v.position[k]);
            hi[k] = std::max(hi[k], v.position[k]);
        }
    EXPECT_EQ(std::vector<float>({lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]}), std::vector<float>({-1, 0, -3, 1, 0.5f, 2}));
    for (const MsTriangle& t : m.triangles)
        for (const float* n : t.vertexNormals)
            EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0f, 1e-4f);
}
