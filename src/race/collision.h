#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class CMilkshapeModel;

// A triangle's squared distance to P is below this: the vehicle touches it.
constexpr float kContactDistanceSquared = 0.8f;

struct CollisionTriangle {
    float A[3], B[3], C[3];
    float normal[3];  // (B - A) x (C - A), not normalised
    float d;          // completes the plane: normal . p + d = 0
    float boxMin[3], boxMax[3];  // bounding box of the corners
};

struct OctreeNode {
    float center[3] = {0.0f, 0.0f, 0.0f};  // split point; zero in a leaf
    bool isLeaf = true;
    std::unique_ptr<OctreeNode> children[8];  // octant bit 0: x above center, bit 1: y, bit 2: z
    std::vector<const CollisionTriangle*> triangles;  // leaf only
};

// The track's collidable triangles sorted into a loose octree, answering the vehicle's contact test.
class CollisionWorld {
public:
    // Collects every triangle of the model except those of groups whose material is named "G"
    // (a group without a material collides); triangles with indices out of range are left out.
    void CollectTriangles(const CMilkshapeModel& model);
    // Triangles without a surface (zero area, non-finite corners) have no normal to push the
    // vehicle back along; they are skipped and counted.
    bool AddTriangle(const float a[3], const float b[3], const float c[3]);
    // Sorts the collected triangles into the tree. Adding a triangle drops the tree (no contacts)
    // until this runs again.
    void BuildOctree();
    // Both steps at once.
    static std::unique_ptr<CollisionWorld> Build(const CMilkshapeModel& model);

    // Moving from `from` to `to`: false when no triangle lies within the contact distance of `to`,
    // otherwise true with the averaged unit normal of those triangles, facing against the motion.
    bool ContactNormal(const float from[3], const float to[3], float normal[3]);
    // The same answer by testing every triangle; the reference the tree must agree with.
    bool ContactNormalBruteForce(const float from[3], const float to[3], float normal[3]);

    size_t SkippedTriangles() const { return skipped; }
    size_t NodeCount() const;

    std::unique_ptr<OctreeNode> root;
    std::vector<CollisionTriangle> allTriangles;  // in collection order
    float queryMin[3] = {0.0f, 0.0f, 0.0f};
    float queryMax[3] = {0.0f, 0.0f, 0.0f};
    float queryEnd[3] = {0.0f, 0.0f, 0.0f};
    std::vector<const CollisionTriangle*> hits;
    size_t tested = 0;  // distance tests the last query made

private:
    void Visit(const OctreeNode& node);
    bool AnswerFromHits(const float from[3], const float to[3], float normal[3]);

    size_t skipped = 0;
    std::vector<uint32_t> visitedStamp;  // per triangle: the query that last tested it
    uint32_t queryStamp = 0;
};

// Minimum of |P - X|^2 over the triangle ABC, in single precision; degenerate triangles work too.
float SquaredDistanceToTriangle(const float P[3], const float A[3], const float B[3], const float C[3]);
