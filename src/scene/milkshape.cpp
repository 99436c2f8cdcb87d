#include "scene/milkshape.h"

#include "app/log.h"
#include "scene/bytereader.h"

#include <cstring>

namespace {

// No model of the game comes near this; it bounds what a hostile file can make us allocate.
constexpr size_t kMaxModelFileBytes = size_t(256) << 20;

// Smallest encoded sizes, used to reject counts the rest of the file cannot hold before allocating.
constexpr size_t kVertexBytes = 15;
constexpr size_t kTriangleBytes = 70;
constexpr size_t kMinGroupBytes = 1 + kMsNameBytes + 2 + 1;
constexpr size_t kMaterialBytes = 361;
constexpr size_t kMinJointBytes = 1 + 2 * kMsNameBytes + 6 * 4 + 2 + 2;
constexpr size_t kKeyframeBytes = 16;
constexpr size_t kMinCommentBytes = 8;

class Ms3dParser {
public:
    Ms3dParser(const uint8_t* data, size_t size, CMilkshapeModel& model) : in_(data, size), m_(model) {}

    bool Header();
    bool Geometry();  // everything up to and including the joints; sets error() on failure
    bool Indices();   // every index read from the file is in range
    bool Trailer();   // the optional blocks

    const char* error() const { return error_; }

private:
    bool Fail(const char* what) {
        error_ = what;
        return false;
    }
    bool Count(size_t& count, size_t minRecordBytes, const char* what);
    bool Vertices();
    bool Triangles();
    bool Groups();
    bool Materials();
    bool Animation();
    bool Joints();
    bool Keys(std::vector<MsKeyframe>& keys);
    bool Comments();
    bool CommentList(size_t targets, std::string* (*slot)(CMilkshapeModel&, size_t));
    bool VertexExtra();
    bool JointExtra();
    bool ModelExtra();

    ByteReader in_;
    CMilkshapeModel& m_;
    const char* error_ = nullptr;
};

bool Ms3dParser::Header() {
    char id[10];
    int32_t version = 0;
    return in_.Bytes(id, sizeof id) && std::strncmp(id, kMs3dIdentifier, sizeof id) == 0 && in_.I32(version) &&
           version == kMs3dVersion;
}

bool Ms3dParser::Count(size_t& count, size_t minRecordBytes, const char* what) {
    uint16_t n = 0;
    if (!in_.U16(n) || n > in_.Remaining() / minRecordBytes)
        return Fail(what);
    count = n;
    return true;
}

bool Ms3dParser::Geometry() {
    return Vertices() && Triangles() && Groups() && Materials() && Animation() && Joints();
}

bool Ms3dParser::Vertices() {
    size_t count = 0;
    if (!Count(count, kVertexBytes, "truncated vertices"))
        return false;
    m_.vertices.resize(count);
    for (MsVertex& v : m_.vertices)
        if (!in_.U8(v.flags) || !in_.F32s(v.position, 3) || !in_.I8(v.boneId) || !in_.U8(v.referenceCount))
            return Fail("truncated vertices");
    return true;
}

bool Ms3dParser::Triangles() {
    size_t count = 0;
    if (!Count(count, kTriangleBytes, "truncated triangles"))
        return false;
    m_.triangles.resize(count);
    for (MsTriangle& t : m_.triangles)
        if (!in_.U16(t.flags) || !in_.U16(t.vertexIndices[0]) || !in_.U16(t.vertexIndices[1]) ||
            !in_.U16(t.vertexIndices[2]) || !in_.F32s(&t.vertexNormals[0][0], 9) || !in_.F32s(t.s, 3) ||
            !in_.F32s(t.t, 3) || !in_.U8(t.smoothingGroup) || !in_.U8(t.groupIndex))
            return Fail("truncated triangles");
    return true;
}

bool Ms3dParser::Groups() {
    size_t count = 0;
    if (!Count(count, kMinGroupBytes, "truncated groups"))
        return false;
    m_.groups.resize(count);
    for (MsGroup& g : m_.groups) {
        uint16_t triangles = 0;
        if (!in_.U8(g.flags) || !in_.Text(g.name, kMsNameBytes) || !in_.U16(triangles) ||
            triangles > in_.Remaining() / 2)
            return Fail("truncated groups");
        g.triangleIndices.resize(triangles);
        for (uint32_t& index : g.triangleIndices) {
            uint16_t i = 0;
            if (!in_.U16(i))
                return Fail("truncated groups");
            index = i;
        }
        if (!in_.I8(g.materialIndex))
            return Fail("truncated groups");
    }
    return true;
}

bool Ms3dParser::Materials() {
    size_t count = 0;
    if (!Count(count, kMaterialBytes, "truncated materials"))
        return false;
    m_.materials.resize(count);
    for (MsMaterial& mat : m_.materials) {
        if (!in_.Text(mat.name, kMsNameBytes) || !in_.F32s(mat.ambient, 4) || !in_.F32s(mat.diffuse, 4) ||
            !in_.F32s(mat.specular, 4) || !in_.F32s(mat.emissive, 4) || !in_.F32(mat.shininess) ||
            !in_.F32(mat.transparency) || !in_.U8(mat.mode) || !in_.Text(mat.texture, kMsFileNameBytes) ||
            !in_.Text(mat.alphamap, kMsFileNameBytes))
            return Fail("truncated materials");
        mat.ambient[3] = mat.diffuse[3] = mat.specular[3] = mat.emissive[3] = mat.transparency;
    }
    return true;
}

bool Ms3dParser::Animation() {
    if (!in_.F32(m_.animationFps) || !in_.F32(m_.currentTime) || !in_.I32(m_.totalFrames))
        return Fail("truncated animation header");
    // Also catches NaN, which would otherwise poison every keyframe time.
    if (!(m_.animationFps >= 1.0f))
        m_.animationFps = 1.0f;
    return true;
}

bool Ms3dParser::Keys(std::vector<MsKeyframe>& keys) {
    for (MsKeyframe& key : keys) {
        if (!in_.F32(key.time) || !in_.F32s(key.value, 3))
            return Fail("truncated joints");
        key.time *= m_.animationFps;
    }
    return true;
}

bool Ms3dParser::Joints() {
    size_t count = 0;
    if (!Count(count, kMinJointBytes, "truncated joints"))
        return false;
    m_.joints.resize(count);
    for (MsJoint& j : m_.joints) {
        uint16_t rotations = 0, positions = 0;
        if (!in_.U8(j.flags) || !in_.Text(j.name, kMsNameBytes) || !in_.Text(j.parentName, kMsNameBytes) ||
            !in_.F32s(j.rot, 3) || !in_.F32s(j.pos, 3) || !in_.U16(rotations) || !in_.U16(positions) ||
            size_t(rotations) + positions > in_.Remaining() / kKeyframeBytes)
            return Fail("truncated joints");
        j.rotationKeys.resize(rotations);
        j.positionKeys.resize(positions);
        if (!Keys(j.rotationKeys) || !Keys(j.positionKeys))
            return false;
    }
    return true;
}

bool Ms3dParser::Indices() {
    for (const MsTriangle& t : m_.triangles)
        for (uint16_t index : t.vertexIndices)
            if (index >= m_.vertices.size())
                return Fail("a triangle names a vertex that does not exist");
    for (const MsGroup& g : m_.groups) {
        for (uint32_t index : g.triangleIndices)
            if (index >= m_.triangles.size())
                return Fail("a group names a triangle that does not exist");
        if (g.materialIndex >= 0 && size_t(g.materialIndex) >= m_.materials.size())
            return Fail("a group names a material that does not exist");
    }
    return true;
}

// Each optional block is read only while bytes remain; an unknown sub-version skips just that block's reader.
bool Ms3dParser::Trailer() {
    bool (Ms3dParser::*blocks[])() = {&Ms3dParser::Comments, &Ms3dParser::VertexExtra, &Ms3dParser::JointExtra,
                                      &Ms3dParser::ModelExtra};
    for (auto block : blocks)
        if (in_.Remaining() > 0 && !(this->*block)())
            return false;
    return true;
}

bool Ms3dParser::CommentList(size_t targets, std::string* (*slot)(CMilkshapeModel&, size_t)) {
    int32_t count = 0;
    if (!in_.I32(count) || count < 0 || size_t(count) > in_.Remaining() / kMinCommentBytes)
        return Fail("truncated comments");
    for (int32_t i = 0; i < count; ++i) {
        int32_t index = 0, length = 0;
        if (!in_.I32(index) || !in_.I32(length) || length < 0 || size_t(length) > in_.Remaining())
            return Fail("truncated comments");
        std::string text(size_t(length), '\0');
        if (!in_.Bytes(text.data(), text.size()))
            return Fail("truncated comments");
        if (index >= 0 && size_t(index) < targets)
            *slot(m_, size_t(index)) = std::move(text);
    }
    return true;
}

bool Ms3dParser::Comments() {
    int32_t subVersion = 0;
    if (!in_.I32(subVersion))
        return Fail("truncated comments");
    if (subVersion != 1)
        return true;
    if (!CommentList(m_.groups.size(), [](CMilkshapeModel& m, size_t i) { return &m.groups[i].comment; }) ||
        !CommentList(m_.materials.size(), [](CMilkshapeModel& m, size_t i) { return &m.materials[i].comment; }) ||
        !CommentList(m_.joints.size(), [](CMilkshapeModel& m, size_t i) { return &m.joints[i].comment; }))
        return false;
    int32_t hasComment = 0;
    if (!in_.I32(hasComment))
        return Fail("truncated comments");
    if (hasComment != 1)
        return true;
    int32_t length = 0;
    if (!in_.I32(length) || length < 0 || size_t(length) > in_.Remaining())
        return Fail("truncated comments");
    m_.comment.assign(size_t(length), '\0');
    return in_.Bytes(m_.comment.data(), m_.comment.size()) || Fail("truncated comments");
}

bool Ms3dParser::VertexExtra() {
    int32_t subVersion = 0;
    if (!in_.I32(subVersion))
        return Fail("truncated vertex extras");
    if (subVersion != 1 && subVersion != 2)
        return true;
    const size_t perVertex = subVersion == 2 ? 10 : 6;
    if (m_.vertices.size() > in_.Remaining() / perVertex)
        return Fail("truncated vertex extras");
    for (MsVertex& v : m_.vertices)
        if (!in_.Bytes(v.boneIds, 3) || !in_.Bytes(v.weights, 3) || (subVersion == 2 && !in_.U32(v.extra)))
            return Fail("truncated vertex extras");
    return true;
}

bool Ms3dParser::JointExtra() {
    int32_t subVersion = 0;
    if (!in_.I32(subVersion))
        return Fail("truncated joint extras");
    if (subVersion != 1)
        return true;
    if (m_.joints.size() > in_.Remaining() / 12)
        return Fail("truncated joint extras");
    for (MsJoint& j : m_.joints)
        if (!in_.F32s(j.color, 3))
            return Fail("truncated joint extras");
    return true;
}

bool Ms3dParser::ModelExtra() {
    int32_t subVersion = 0;
    if (!in_.I32(subVersion))
        return Fail("truncated model extras");
    if (subVersion != 1)
        return true;
    if (in_.Remaining() < 12)
        return Fail("truncated model extras");
    return (in_.F32(m_.jointSize) && in_.I32(m_.transparencyMode) && in_.F32(m_.alphaRef)) ||
           Fail("truncated model extras");
}

}  // namespace

CMilkshapeModel::CMilkshapeModel() {
    Clear();
}

CMilkshapeModel::~CMilkshapeModel() {
    Clear();
}

void CMilkshapeModel::Clear() {
    vertices.clear();
    triangles.clear();
    groups.clear();
    materials.clear();
    joints.clear();
    comment.clear();
    animationFps = 24.0f;
    totalFrames = 30;
    currentTime = 1.0f;
    jointSize = 1.0f;
    alphaRef = 0.5f;
    transparencyMode = 0;
}

bool CMilkshapeModel::Load(const char* path) {
    std::vector<uint8_t> bytes;
    switch (ReadFileBytes(path, kMaxModelFileBytes, bytes)) {
    case FILE_READ_MISSING:
        Log("Failed to open model %s", path);
        return false;
    case FILE_READ_TOO_LARGE:
        Clear();
        Log("Model %s is larger than %zu bytes", path, kMaxModelFileBytes);
        return false;
    case FILE_READ_OK:
        break;
    }
    return LoadFromMemory(bytes.data(), bytes.size(), path);
}

bool CMilkshapeModel::LoadFromMemory(const uint8_t* data, size_t size, const char* nameForLog) {
    Clear();
    Ms3dParser parser(data, size, *this);
    if (!parser.Header()) {
        Log("Model %s is not a MilkShape 3D version 4 file", nameForLog);
        return false;
    }
    if (!parser.Geometry() || !parser.Indices()) {
        Log("Model %s is damaged (%s) and was not loaded", nameForLog, parser.error());
        Clear();
        return false;
    }
    if (!parser.Trailer()) {
        Log("Model %s: %s; the geometry is kept", nameForLog, parser.error());
        return false;
    }
    return true;
}

const MsMaterial* CMilkshapeModel::MaterialOf(const MsGroup& group) const {
    if (group.materialIndex < 0 || size_t(group.materialIndex) >= materials.size())
        return nullptr;
    return &materials[size_t(group.materialIndex)];
}
