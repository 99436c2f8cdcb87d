#include "ms3dwriter.h"

#include "filewriter.h"

#include <cstdio>

namespace {

constexpr size_t kMaxCount = 65535;

bool CheckCounts(const CMilkshapeModel& m, std::string& error) {
    if (m.vertices.size() > kMaxCount || m.triangles.size() > kMaxCount || m.groups.size() > kMaxCount ||
        m.materials.size() > kMaxCount || m.joints.size() > kMaxCount) {
        error = "more than 65535 vertices, triangles, groups, materials or joints";
        return false;
    }
    for (const MsGroup& g : m.groups) {
        if (g.triangleIndices.size() > kMaxCount) {
            error = std::string("group ") + g.name + " has more than 65535 triangles";
            return false;
        }
        for (uint32_t index : g.triangleIndices)
            if (index > kMaxCount) {
                error = std::string("group ") + g.name + " names a triangle beyond 65535";
                return false;
            }
    }
    for (const MsJoint& j : m.joints)
        if (j.rotationKeys.size() > kMaxCount || j.positionKeys.size() > kMaxCount) {
            error = std::string("joint ") + j.name + " has more than 65535 keys";
            return false;
        }
    return true;
}

void Keys(ByteWriter& w, const std::vector<MsKeyframe>& keys, float fps) {
    for (const MsKeyframe& k : keys) {
        w.F32(k.time / fps);
        w.F32s(k.value, 3);
    }
}

template <typename Item>
void CommentList(ByteWriter& w, const std::vector<Item>& items) {
    int32_t count = 0;
    for (const Item& item : items)
        count += item.comment.empty() ? 0 : 1;
    w.I32(count);
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].comment.empty())
            continue;
        w.I32(int32_t(i));
        w.I32(int32_t(items[i].comment.size()));
        w.Raw(items[i].comment.data(), items[i].comment.size());
    }
}

void Trailer(ByteWriter& w, const CMilkshapeModel& m, const Ms3dWriteOptions& o) {
    if (!o.comments)
        return;
    w.I32(1);
    CommentList(w, m.groups);
    CommentList(w, m.materials);
    CommentList(w, m.joints);
    w.I32(m.comment.empty() ? 0 : 1);
    if (!m.comment.empty()) {
        w.I32(int32_t(m.comment.size()));
        w.Raw(m.comment.data(), m.comment.size());
    }
    if (o.vertexExtraVersion != 1 && o.vertexExtraVersion != 2)
        return;
    w.I32(o.vertexExtraVersion);
    for (const MsVertex& v : m.vertices) {
        w.Raw(v.boneIds, 3);
        w.Raw(v.weights, 3);
        if (o.vertexExtraVersion == 2)
            w.U32(v.extra);
    }
    if (!o.jointExtra)
        return;
    w.I32(1);
    for (const MsJoint& j : m.joints)
        w.F32s(j.color, 3);
    if (!o.modelExtra)
        return;
    w.I32(1);
    w.F32(m.jointSize);
    w.I32(m.transparencyMode);
    w.F32(m.alphaRef);
}

}  // namespace

bool EncodeMs3d(const CMilkshapeModel& m, const Ms3dWriteOptions& options, std::vector<uint8_t>& out,
                std::string& error) {
    out.clear();
    if (!CheckCounts(m, error))
        return false;
    ByteWriter w;
    w.Raw(kMs3dIdentifier, 10);
    w.I32(kMs3dVersion);
    w.U16(uint16_t(m.vertices.size()));
    for (const MsVertex& v : m.vertices) {
        w.U8(v.flags);
        w.F32s(v.position, 3);
        w.U8(uint8_t(v.boneId));
        w.U8(v.referenceCount);
    }
    w.U16(uint16_t(m.triangles.size()));
    for (const MsTriangle& t : m.triangles) {
        w.U16(t.flags);
        for (uint16_t index : t.vertexIndices)
            w.U16(index);
        w.F32s(&t.vertexNormals[0][0], 9);
        w.F32s(t.s, 3);
        w.F32s(t.t, 3);
        w.U8(t.smoothingGroup);
        w.U8(t.groupIndex);
    }
    w.U16(uint16_t(m.groups.size()));
    for (const MsGroup& g : m.groups) {
        w.U8(g.flags);
        w.Text(g.name, kMsNameBytes);
        w.U16(uint16_t(g.triangleIndices.size()));
        for (uint32_t index : g.triangleIndices)
            w.U16(uint16_t(index));
        w.U8(uint8_t(g.materialIndex));
    }
    w.U16(uint16_t(m.materials.size()));
    for (const MsMaterial& mat : m.materials) {
        w.Text(mat.name, kMsNameBytes);
        w.F32s(mat.ambient, 4);
        w.F32s(mat.diffuse, 4);
        w.F32s(mat.specular, 4);
        w.F32s(mat.emissive, 4);
        w.F32(mat.shininess);
        w.F32(mat.transparency);
        w.U8(mat.mode);
        w.Text(mat.texture, kMsFileNameBytes);
        w.Text(mat.alphamap, kMsFileNameBytes);
    }
    w.F32(m.animationFps);
    w.F32(m.currentTime);
    w.I32(m.totalFrames);
    w.U16(uint16_t(m.joints.size()));
    const float fps = m.animationFps >= 1.0f ? m.animationFps : 1.0f;
    for (const MsJoint& j : m.joints) {
        w.U8(j.flags);
        w.Text(j.name, kMsNameBytes);
        w.Text(j.parentName, kMsNameBytes);
        w.F32s(j.rot, 3);
        w.F32s(j.pos, 3);
        w.U16(uint16_t(j.rotationKeys.size()));
        w.U16(uint16_t(j.positionKeys.size()));
        Keys(w, j.rotationKeys, fps);
        Keys(w, j.positionKeys, fps);
    }
    Trailer(w, m, options);
    out = std::move(w.bytes);
    return true;
}

bool WriteMs3d(const std::string& path, const CMilkshapeModel& model, const Ms3dWriteOptions& options) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!EncodeMs3d(model, options, bytes, error)) {
        fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return WriteBytes(path, bytes);
}
