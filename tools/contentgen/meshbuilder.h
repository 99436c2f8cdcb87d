#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scene/milkshape.h"

struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

// Texture coordinates as the model file holds them: s to the right, t down from the picture's top edge.
struct UV {
    float s = 0.0f, t = 0.0f;
};

struct MaterialSpec {
    std::string name;
    std::string texture;  // game path of the colour map, e.g. "../Textures/rock.jpg"; may be empty
    float ambient[3] = {0.6f, 0.6f, 0.6f};
    float diffuse[3] = {0.8f, 0.8f, 0.8f};
    float specular[3] = {0.0f, 0.0f, 0.0f};
    float emissive[3] = {0.0f, 0.0f, 0.0f};
    float shininess = 0.0f;
    float transparency = 1.0f;  // 1 = opaque
    uint8_t mode = 0;
};

// One cross-section of a loft: a superellipse across x and y, at depth z.
struct LoftSection {
    float z;
    float cx, cy;                   // its centre
    float halfWidth, halfHeight;    // 0 and 0 close the body to a point
    float squareness = 2.0f;        // 2 is an ellipse; larger is boxier
};

// Appends geometry to a model. Triangles wind counter-clockwise seen from their front (outside), so the
// renderer's face normals point outwards. Everything goes into the group last begun.
class MeshBuilder {
public:
    explicit MeshBuilder(CMilkshapeModel& model) : model_(model) {}

    int AddMaterial(const MaterialSpec& material);  // its index
    int BeginGroup(const std::string& name, int materialIndex);  // its index; names are cut to 31 bytes

    // False once the model holds 65535 vertices or the group 65535 triangles; later additions are dropped.
    bool ok() const { return ok_; }

    uint16_t AddVertex(const Vec3& p);
    void AddTriangle(uint16_t a, uint16_t b, uint16_t c, const Vec3 normals[3], const UV uvs[3]);
    // A triangle with its own three vertices and the face normal at every corner.
    void AddFlatTriangle(const Vec3& a, const Vec3& b, const Vec3& c, const UV& ua, const UV& ub, const UV& uc);
    // a, b, c, d counter-clockwise from the front; the picture is spread over it once, a at its bottom left.
    void AddQuad(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d, float repeatS = 1.0f,
                 float repeatT = 1.0f);
    // Six outward faces; each face shows the picture repeat times.
    void AddBox(const Vec3& min, const Vec3& max, float repeat = 1.0f);
    // Upright cylinder around the vertical axis through base, smooth sides, optional flat caps.
    void AddCylinder(const Vec3& base, float radius, float height, int segments, bool caps);
    // A body through sections in order of increasing z, rings of `sides` points with smooth normals; with
    // caps, an end section of some size is closed flat. The picture wraps round once, its middle along the
    // top. Sections in order of decreasing z face inwards: the lining of a duct.
    void AddLoft(const std::vector<LoftSection>& sections, int sides, bool caps = true);
    // A flat plate through four corners in order round it, `thickness` thick across it: a fin, a wing, a vane.
    void AddPlate(const Vec3 corners[4], const Vec3& thickness);
    // A height field of cellsX x cellsZ square cells from origin towards +x and +z, shared vertices with
    // smooth normals; the picture repeats once every uvCells cells.
    void AddTerrain(const Vec3& origin, int cellsX, int cellsZ, float cellSize,
                    const std::function<float(float x, float z)>& height, float uvCells = 1.0f);

private:
    MsGroup* CurrentGroup();

    CMilkshapeModel& model_;
    bool ok_ = true;
};

Vec3 operator+(const Vec3& a, const Vec3& b);
Vec3 operator-(const Vec3& a, const Vec3& b);
Vec3 operator*(const Vec3& a, float k);
Vec3 Cross(const Vec3& a, const Vec3& b);
Vec3 Normalized(const Vec3& v);  // (0, 1, 0) for a zero vector

// Stretches a model along each axis so that its vertices span exactly min to max (normals follow).
void FitToBox(CMilkshapeModel& model, const Vec3& min, const Vec3& max);
