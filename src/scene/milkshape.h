#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ShadowEdge;

// Sizes of the fixed text fields in the file; the in-memory copies hold one more byte so they are always
// zero-terminated, even when the file fills the whole field.
constexpr int kMsNameBytes = 32;
constexpr int kMsFileNameBytes = 128;

struct MsVertex {
    uint8_t flags = 0;
    float position[3] = {0.0f, 0.0f, 0.0f};
    int8_t boneId = -1;
    uint8_t referenceCount = 0;
    // Only from the optional vertex-extra block.
    int8_t boneIds[3] = {-1, -1, -1};
    uint8_t weights[3] = {0, 0, 0};
    uint32_t extra = 0;
};

struct MsTriangle {
    uint16_t flags = 0;
    uint16_t vertexIndices[3] = {0, 0, 0};
    ShadowEdge* edges[3] = {nullptr, nullptr, nullptr};  // one per side k -> k+1, set by the shadow volumes
    float vertexNormals[3][3] = {};
    float s[3] = {0.0f, 0.0f, 0.0f};
    float t[3] = {0.0f, 0.0f, 0.0f};
    float normal[3] = {0.0f, 0.0f, 0.0f};  // unit face normal, set by RenderModel
    uint8_t smoothingGroup = 0;
    uint8_t groupIndex = 0;
    std::vector<uint8_t> lightFacing;  // one byte per scene light, set by the shadow volumes
    uint32_t firstRenderVertex = 0;    // first corner in RenderModel's flat arrays
    float centroid[3] = {0.0f, 0.0f, 0.0f};
};

struct MsGroup {
    uint8_t flags = 0;
    char name[kMsNameBytes + 1] = {};
    std::vector<uint32_t> triangleIndices;
    int8_t materialIndex = -1;  // negative: the group is not drawn
    std::string comment;
};

struct MsMaterial {
    char name[kMsNameBytes + 1] = {};
    float ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float diffuse[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float emissive[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float shininess = 0.0f;
    float transparency = 1.0f;  // 1.0 = opaque
    uint8_t mode = 0;  // bit kModeCastsNoShadow: the material's groups cast no shadow
    char texture[kMsFileNameBytes + 1] = {};
    char alphamap[kMsFileNameBytes + 1] = {};
    uint32_t textureId = 0;  // texture manager name for texture, set by RenderModel
    std::string comment;
};

struct MsKeyframe {
    float time = 0.0f;  // in frames after loading
    float value[3] = {0.0f, 0.0f, 0.0f};
};

struct MsJoint {
    uint8_t flags = 0;
    char name[kMsNameBytes + 1] = {};
    char parentName[kMsNameBytes + 1] = {};
    float rot[3] = {0.0f, 0.0f, 0.0f};
    float pos[3] = {0.0f, 0.0f, 0.0f};
    std::vector<MsKeyframe> rotationKeys;
    std::vector<MsKeyframe> positionKeys;
    std::string comment;
    float color[3] = {0.0f, 0.0f, 0.0f};
};

constexpr uint8_t kModeCastsNoShadow = 0x40;

// A MilkShape 3D (version 4) model as plain records. Loading builds no GL objects and derives nothing.
class CMilkshapeModel {
public:
    CMilkshapeModel();
    virtual ~CMilkshapeModel();

    // Reads the file at path (game path spelling). False when it cannot be opened (model unchanged), or with
    // one log line when it is not a version-4 model or is damaged; a damaged model is left empty, except
    // that a damaged optional trailer keeps the geometry read before it. After a successful load every
    // vertex, triangle and material index is in range.
    bool Load(const char* path);
    bool LoadFromMemory(const uint8_t* data, size_t size, const char* nameForLog);
    void Clear();

    const MsMaterial* MaterialOf(const MsGroup& group) const;  // null for a negative or bad index

    std::vector<MsVertex> vertices;
    std::vector<MsTriangle> triangles;
    std::vector<MsGroup> groups;
    std::vector<MsMaterial> materials;
    float animationFps = 24.0f;
    float currentTime = 1.0f;
    int32_t totalFrames = 30;
    std::vector<MsJoint> joints;
    std::string comment;
    float jointSize = 1.0f;
    int32_t transparencyMode = 0;
    float alphaRef = 0.5f;
    bool hasShadowData = false;
};

// The identifier and version every model file starts with.
constexpr char kMs3dIdentifier[] = "MS3D000000";
constexpr int32_t kMs3dVersion = 4;
