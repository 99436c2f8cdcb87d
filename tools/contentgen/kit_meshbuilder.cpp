#include "meshbuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/gamedefs.h"

namespace {

constexpr size_t kMaxItems = 65535;

void CopyColour(float out[4], const float rgb[3], float alpha) {
    out[0] = rgb[0];
    out[1] = rgb[1];
    out[2] = rgb[2];
    out[3] = alpha;
}

}  // namespace

Vec3 operator+(const Vec3& a, const Vec3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vec3 operator-(const Vec3& a, const Vec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3 operator*(const Vec3& a, float k) {
    return {a.x * k, a.y * k, a.z * k};
}

Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 Normalized(const Vec3& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length <= 0.0f)
        return {0.0f, 1.0f, 0.0f};
    return v * (1.0f / length);
}

int MeshBuilder::AddMaterial(const MaterialSpec& material) {
    MsMaterial m;
    strncpy(m.name, material.name.c_str(), kMsNameBytes - 1);
    strncpy(m.texture, material.texture.c_str(), kMsFileNameBytes - 1);
    CopyColour(m.ambient, material.ambient, material.transparency);
    CopyColour(m.diffuse, material.diffuse, material.transparency);
    CopyColour(m.specular, material.specular, material.transparency);
    CopyColour(m.emissive, material.emissive, material.transparency);
    m.shininess = material.shininess;
    m.transparency = material.transparency;
    m.mode = material.mode;
    model_.materials.push_back(m);
    return int(model_.materials.size()) - 1;
}

int MeshBuilder::BeginGroup(const std::string& name, int materialIndex) {
    MsGroup g;
    strncpy(g.name, name.c_str(), kMsNameBytes - 1);
    g.materialIndex = int8_t(materialIndex);
    model_.groups.push_back(g);
    return int(model_.groups.size()) - 1;
}

MsGroup* MeshBuilder::CurrentGroup() {
    if (model_.groups.empty())
        BeginGroup("default", -1);
    return &model_.groups.back();
}

uint16_t MeshBuilder::AddVertex(const Vec3& p) {
    if (model_.vertices.size() >= kMaxItems) {
        ok_ = false;
        return 0;
    }
    MsVertex v;
    v.position[0] = p.x;
    v.position[1] = p.y;
    v.position[2] = p.z;
    model_.vertices.push_back(v);
    return uint16_t(model_.vertices.size() - 1);
}

void MeshBuilder::AddTriangle(uint16_t a, uint16_t b, uint16_t c, const Vec3 normals[3], const UV uvs[3]) {
    MsGroup* group = CurrentGroup();
    if (!ok_ || group->triangleIndices.size() >= kMaxItems) {
        ok_ = false;
        return;
    }
    MsTriangle t;
    const uint16_t corners[3] = {a, b, c};
    for (int k = 0; k < 3; ++k) {
        t.vertexIndices[k] = corners[k];
        t.vertexNormals[k][0] = normals[k].x;
        t.vertexNormals[k][1] = normals[k].y;
        t.vertexNormals[k][2] = normals[k].z;
        t.s[k] = uvs[k].s;
        t.t[k] = uvs[k].t;
    }
    t.smoothingGroup = 1;
    t.groupIndex = uint8_t(model_.groups.size() - 1);
    group->triangleIndices.push_back(uint32_t(model_.triangles.size()));
    model_.triangles.push_back(t);
}

void MeshBuilder::AddFlatTriangle(const Vec3& a, const Vec3& b, const Vec3& c, const UV& ua, const UV& ub,
                                  const UV& uc) {
    const Vec3 n = Normalized(Cross(b - a, c - a));
    const Vec3 normals[3] = {n, n, n};
    const UV uvs[3] = {ua, ub, uc};
    const uint16_t ia = AddVertex(a), ib = AddVertex(b), ic = AddVertex(c);
    AddTriangle(ia, ib, ic, normals, uvs);
}

void MeshBuilder::AddQuad(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d, float repeatS,
                          float repeatT) {
    const Vec3 n = Normalized(Cross(b - a, c - a));
    const Vec3 normals[3] = {n, n, n};
    const uint16_t ia = AddVertex(a), ib = AddVertex(b), ic = AddVertex(c), id = AddVertex(d);
    const UV ua{0.0f, repeatT}, ub{repeatS, repeatT}, uc{repeatS, 0.0f}, ud{0.0f, 0.0f};
    const UV first[3] = {ua, ub, uc}, second[3] = {ua, uc, ud};
    AddTriangle(ia, ib, ic, normals, first);
    AddTriangle(ia, ic, id, normals, second);
}

void MeshBuilder::AddBox(const Vec3& lo, const Vec3& hi, float repeat) {
    const float x0 = lo.x, y0 = lo.y, z0 = lo.z, x1 = hi.x, y1 = hi.y, z1 = hi.z;
    AddQuad({x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}, repeat, repeat);  // +z
    AddQuad({x1, y0, z0}, {x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, repeat, repeat);  // -z
    AddQuad({x1, y0, z1}, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, repeat, repeat);  // +x
    AddQuad({x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}, repeat, repeat);  // -x
    AddQuad({x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}, {x0, y1, z0}, repeat, repeat);  // +y
    AddQuad({x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}, repeat, repeat);  // -y
}

void MeshBuilder::AddCylinder(const Vec3& base, float radius, float height, int segments, bool caps) {
    segments = std::max(segments, 3);
    std::vector<uint16_t> bottom, top;
    std::vector<Vec3> radial;
    for (int i = 0; i <= segments; ++i) {
        const float angle = 2.0f * kPi * float(i % segments) / float(segments);
        const Vec3 r{std::cos(angle), 0.0f, std::sin(angle)};
        radial.push_back(r);
        bottom.push_back(AddVertex(base + r * radius));
        top.push_back(AddVertex(base + r * radius + Vec3{0.0f, height, 0.0f}));
    }
    for (int i = 0; i < segments; ++i) {
        // Walking towards smaller angles runs counter-clockwise seen from outside.
        const float s0 = float(i + 1) / float(segments), s1 = float(i) / float(segments);
        const Vec3 n1[3] = {radial[i + 1], radial[i], radial[i]};
        const UV uv1[3] = {{s0, 1.0f}, {s1, 1.0f}, {s1, 0.0f}};
        AddTriangle(bottom[i + 1], bottom[i], top[i], n1, uv1);
        const Vec3 n2[3] = {radial[i + 1], radial[i], radial[i + 1]};
        const UV uv2[3] = {{s0, 1.0f}, {s1, 0.0f}, {s0, 0.0f}};
        AddTriangle(bottom[i + 1], top[i], top[i + 1], n2, uv2);
    }
    if (!caps)
        return;
    const uint16_t bottomCentre = AddVertex(base), topCentre = AddVertex(base + Vec3{0.0f, height, 0.0f});
    const Vec3 up{0.0f, 1.0f, 0.0f}, down{0.0f, -1.0f, 0.0f};
    const Vec3 ups[3] = {up, up, up}, downs[3] = {down, down, down};
    for (int i = 0; i < segments; ++i) {
        const UV c{0.5f, 0.5f}, a{0.5f + 0.5f * radial[i].x, 0.5f + 0.5f * radial[i].z},
            b{0.5f + 0.5f * radial[i + 1].x, 0.5f + 0.5f * radial[i + 1].z};
        const UV topUv[3] = {c, b, a}, bottomUv[3] = {c, a, b};
        AddTriangle(topCentre, top[i + 1], top[i], ups, topUv);
        AddTriangle(bottomCentre, bottom[i], bottom[i + 1], downs, bottomUv);
    }
}

void MeshBuilder::AddLoft(const std::vector<LoftSection>& sections, int sides, bool caps) {
    if (sections.size() < 2 || sides < 3)
        return;
    const size_t ring = size_t(sides) + 1;  // the seam is doubled for its texture coordinates
    const size_t first = model_.vertices.size();
    if (first + ring * sections.size() + 2 > kMaxItems) {
        ok_ = false;
        return;
    }
    // Points round each section, starting underneath, so that s = 0.5 runs along the top.
    std::vector<Vec3> points;
    for (const LoftSection& q : sections) {
        for (size_t i = 0; i < ring; ++i) {
            const float a = 2.0f * kPi * float(i % size_t(sides)) / float(sides) - 0.5f * kPi;
            const float c = std::cos(a), sn = std::sin(a), e = 2.0f / q.squareness;
            const float x = std::copysign(std::pow(std::fabs(c), e), c), y = std::copysign(std::pow(std::fabs(sn), e), sn);
            points.push_back({q.cx + q.halfWidth * x, q.cy + q.halfHeight * y, q.z});
            AddVertex(points.back());
        }
    }
    auto at = [&](size_t j, size_t i) { return j * ring + i; };
    // Smooth normals: the sum of the faces round each point, the seam's two copies sharing theirs.
    std::vector<Vec3> normals(points.size());
    for (size_t j = 0; j + 1 < sections.size(); ++j) {
        for (size_t i = 0; i < size_t(sides); ++i) {
            const Vec3& a = points[at(j, i)];
            const Vec3 n = Cross(points[at(j + 1, i + 1)] - a, points[at(j + 1, i)] - a) +
                           Cross(points[at(j, i + 1)] - a, points[at(j + 1, i + 1)] - a);
            for (size_t k : {at(j, i), at(j, i + 1), at(j + 1, i), at(j + 1, i + 1)})
                normals[k] = normals[k] + n;
        }
    }
    for (size_t j = 0; j < sections.size(); ++j) {
        const Vec3 seam = normals[at(j, 0)] + normals[at(j, size_t(sides))];
        normals[at(j, 0)] = normals[at(j, size_t(sides))] = seam;
    }
    const float length = std::max(sections.back().z - sections.front().z, 1e-6f);
    auto uv = [&](size_t j, size_t i) {
        return UV{float(i) / float(sides), (sections[j].z - sections.front().z) / length};
    };
    auto index = [&](size_t k) { return uint16_t(first + k); };
    for (size_t j = 0; j + 1 < sections.size(); ++j) {
        for (size_t i = 0; i < size_t(sides); ++i) {
            const size_t a = at(j, i), b = at(j, i + 1), c = at(j + 1, i + 1), d = at(j + 1, i);
            const Vec3 n1[3] = {Normalized(normals[a]), Normalized(normals[c]), Normalized(normals[d])};
            const UV uv1[3] = {uv(j, i), uv(j + 1, i + 1), uv(j + 1, i)};
            AddTriangle(index(a), index(c), index(d), n1, uv1);
            const Vec3 n2[3] = {Normalized(normals[a]), Normalized(normals[b]), Normalized(normals[c])};
            const UV uv2[3] = {uv(j, i), uv(j, i + 1), uv(j + 1, i + 1)};
            AddTriangle(index(a), index(b), index(c), n2, uv2);
        }
    }
    // Flat caps on ends that are not points: the back faces +z, the front -z.
    for (size_t j : {size_t(0), sections.size() - 1}) {
        if (!caps)
            break;
        const LoftSection& q = sections[j];
        if (q.halfWidth <= 0.0f && q.halfHeight <= 0.0f)
            continue;
        const bool back = j > 0;
        const Vec3 n{0.0f, 0.0f, back ? 1.0f : -1.0f};
        const Vec3 ns[3] = {n, n, n};
        const uint16_t centre = AddVertex({q.cx, q.cy, q.z});
        for (size_t i = 0; i < size_t(sides); ++i) {
            const UV uvs[3] = {{0.5f, 0.5f}, uv(j, i), uv(j, i + 1)};
            if (back)
                AddTriangle(centre, index(at(j, i)), index(at(j, i + 1)), ns, uvs);
            else
                AddTriangle(centre, index(at(j, i + 1)), index(at(j, i)), ns, uvs);
        }
    }
}

void MeshBuilder::AddPlate(const Vec3 corners[4], const Vec3& thickness) {
    // Either side may face either way: the corners are taken in the order that faces the thickness.
    const Vec3 n = Cross(corners[1] - corners[0], corners[2] - corners[0]) +
                   Cross(corners[2] - corners[0], corners[3] - corners[0]);
    const bool reversed = n.x * thickness.x + n.y * thickness.y + n.z * thickness.z < 0.0f;
    const Vec3 h = thickness * 0.5f;
    Vec3 top[4], bottom[4];
    for (int k = 0; k < 4; ++k) {
        const Vec3& c = corners[reversed ? 3 - k : k];
        top[k] = c + h;
        bottom[k] = c - h;
    }
    AddQuad(top[0], top[1], top[2], top[3]);
    AddQuad(bottom[3], bottom[2], bottom[1], bottom[0]);
    for (int k = 0; k < 4; ++k) {
        const int n = (k + 1) % 4;
        AddQuad(bottom[k], bottom[n], top[n], top[k]);
    }
}

void MeshBuilder::AddTerrain(const Vec3& origin, int cellsX, int cellsZ, float cellSize,
                             const std::function<float(float x, float z)>& height, float uvCells) {
    if (cellsX < 1 || cellsZ < 1)
        return;
    const size_t columns = size_t(cellsX) + 1, rows = size_t(cellsZ) + 1;
    if (model_.vertices.size() + columns * rows > kMaxItems) {
        ok_ = false;
        return;
    }
    auto at = [&](int i, int j) {
        const float x = origin.x + float(i) * cellSize, z = origin.z + float(j) * cellSize;
        return Vec3{x, origin.y + height(x, z), z};
    };
    const uint16_t first = uint16_t(model_.vertices.size());
    std::vector<Vec3> normals(columns * rows);
    for (int j = 0; j <= cellsZ; ++j) {
        for (int i = 0; i <= cellsX; ++i) {
            AddVertex(at(i, j));
            const float dx = at(i + 1, j).y - at(i - 1, j).y, dz = at(i, j + 1).y - at(i, j - 1).y;
            normals[size_t(j) * columns + size_t(i)] = Normalized({-dx, 2.0f * cellSize, -dz});
        }
    }
    auto index = [&](int i, int j) { return uint16_t(first + size_t(j) * columns + size_t(i)); };
    auto normal = [&](int i, int j) { return normals[size_t(j) * columns + size_t(i)]; };
    auto uv = [&](int i, int j) { return UV{float(i) / uvCells, float(j) / uvCells}; };
    for (int j = 0; j < cellsZ; ++j) {
        for (int i = 0; i < cellsX; ++i) {
            const Vec3 n1[3] = {normal(i, j), normal(i, j + 1), normal(i + 1, j + 1)};
            const UV uv1[3] = {uv(i, j), uv(i, j + 1), uv(i + 1, j + 1)};
            AddTriangle(index(i, j), index(i, j + 1), index(i + 1, j + 1), n1, uv1);
            const Vec3 n2[3] = {normal(i, j), normal(i + 1, j + 1), normal(i + 1, j)};
            const UV uv2[3] = {uv(i, j), uv(i + 1, j + 1), uv(i + 1, j)};
            AddTriangle(index(i, j), index(i + 1, j + 1), index(i + 1, j), n2, uv2);
        }
    }
}

void FitToBox(CMilkshapeModel& model, const Vec3& min, const Vec3& max) {
    if (model.vertices.empty())
        return;
    float lo[3], hi[3];
    for (int k = 0; k < 3; ++k)
        lo[k] = hi[k] = model.vertices[0].position[k];
    for (const MsVertex& v : model.vertices)
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], v.position[k]);
            hi[k] = std::max(hi[k], v.position[k]);
        }
    const float want[2][3] = {{min.x, min.y, min.z}, {max.x, max.y, max.z}};
    float scale[3];
    for (int k = 0; k < 3; ++k)
        scale[k] = hi[k] > lo[k] ? (want[1][k] - want[0][k]) / (hi[k] - lo[k]) : 1.0f;
    // The extremes land on the bounds exactly.
    for (MsVertex& v : model.vertices)
        for (int k = 0; k < 3; ++k)
            v.position[k] = v.position[k] == hi[k] ? want[1][k] : want[0][k] + (v.position[k] - lo[k]) * scale[k];
    for (MsTriangle& t : model.triangles)
        for (float* n : t.vertexNormals) {
            const Vec3 m = Normalized({n[0] / scale[0], n[1] / scale[1], n[2] / scale[2]});
            n[0] = m.x;
            n[1] = m.y;
            n[2] = m.z;
        }
}
