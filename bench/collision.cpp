// Contact queries per second on a large track: the octree, brute force, and Bullet's triangle-mesh
// BVH doing the same test, in one run. Usage: bench_collision [model.ms3d | canyon segments] [queries]
// Without an argument it uses the largest track model of the generated game tree, or a generated
// canyon of 3000 segments (about 120000 triangles, 6 km long).
#include <algorithm>
#include <chrono>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <btBulletCollisionCommon.h>

#include "app/log.h"
#include "canyonmesh.h"
#include "race/collision.h"
#include "scene/milkshape.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Query {
    float from[3], to[3];
};

// End points scattered around random triangles (within 1.5 units of a point on one), each the end of a
// step shorter than 0.8 units, as the race logic makes them.
std::vector<Query> MakeQueries(const CollisionWorld& world, size_t count) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<Query> queries(count);
    for (Query& q : queries) {
        const CollisionTriangle& t = world.allTriangles[gen() % world.allTriangles.size()];
        float s = unit(gen), r = unit(gen);
        if (s + r > 1.0f)
            s = 1.0f - s, r = 1.0f - r;
        for (int i = 0; i < 3; ++i) {
            q.to[i] = t.A[i] + s * (t.B[i] - t.A[i]) + r * (t.C[i] - t.A[i]) + (unit(gen) - 0.5f) * 3.0f;
            q.from[i] = q.to[i] + (unit(gen) - 0.5f) * 0.9f;
        }
    }
    return queries;
}

std::string LargestTrackModel() {
    std::string best;
    size_t bestTriangles = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(GAME_MODELS_DIR, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("track", 0) != 0 || entry.path().extension() != ".ms3d")
            continue;
        CMilkshapeModel model;
        if (model.Load(entry.path().c_str()) && model.triangles.size() > bestTriangles) {
            bestTriangles = model.triangles.size();
            best = entry.path().string();
        }
    }
    return best;
}

// The world's triangles in Bullet's triangle mesh under its quantized BVH.
struct BulletMesh {
    explicit BulletMesh(const CollisionWorld& world) : mesh(true, false) {
        for (const CollisionTriangle& t : world.allTriangles)
            mesh.addTriangle(btVector3(t.A[0], t.A[1], t.A[2]), btVector3(t.B[0], t.B[1], t.B[2]),
                             btVector3(t.C[0], t.C[1], t.C[2]), false);
        shape = std::make_unique<btBvhTriangleMeshShape>(&mesh, true, true);
    }
    btTriangleMesh mesh;
    std::unique_ptr<btBvhTriangleMeshShape> shape;
};

// Bullet's BVH as the broad phase, feeding the same distance test: the trees compared alone.
class BvhContactTest : public btTriangleCallback {
public:
    explicit BvhContactTest(const BulletMesh& mesh) : mesh(mesh) {}
    size_t tested = 0;  // distance tests over all queries

    size_t Hits(const Query& q) {
        hits = 0;
        end = q.to;
        btVector3 lo, hi;
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(q.from[i], q.to[i]) - 1.0f;  // the octree's query box
            hi[i] = std::max(q.from[i], q.to[i]) + 1.0f;
        }
        mesh.shape->processAllTriangles(this, lo, hi);
        return hits;
    }
    void processTriangle(btVector3* tri, int, int) override {
        ++tested;
        const float a[3] = {tri[0].x(), tri[0].y(), tri[0].z()}, b[3] = {tri[1].x(), tri[1].y(), tri[1].z()},
                    c[3] = {tri[2].x(), tri[2].y(), tri[2].z()};
        if (SquaredDistanceToTriangle(end, a, b, c) < kContactDistanceSquared)
            ++hits;
    }

private:
    const BulletMesh& mesh;
    const float* end = nullptr;
    size_t hits = 0;
};

// Bullet's own contact pipeline: a sphere of the contact radius tested against the mesh.
class SphereContactTest : public btCollisionWorld::ContactResultCallback {
public:
    explicit SphereContactTest(const BulletMesh& mesh)
        : dispatcher(&configuration), world(&dispatcher, &broadphase, &configuration),
          sphere(std::sqrt(kContactDistanceSquared)) {
        meshObject.setCollisionShape(mesh.shape.get());
        world.addCollisionObject(&meshObject);
        probe.setCollisionShape(&sphere);
    }
    ~SphereContactTest() override { world.removeCollisionObject(&meshObject); }
    bool Touches(const Query& q) {
        touched = false;
        btTransform at;
        at.setIdentity();
        at.setOrigin(btVector3(q.to[0], q.to[1], q.to[2]));
        probe.setWorldTransform(at);
        world.contactTest(&probe, *this);
        return touched;
    }
    btScalar addSingleResult(btManifoldPoint& cp, const btCollisionObjectWrapper*, int, int,
                             const btCollisionObjectWrapper*, int, int) override {
        touched = touched || cp.getDistance() < 0.0f;
        return 0;
    }

private:
    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher;
    btDbvtBroadphase broadphase;
    btCollisionWorld world;
    btCollisionObject meshObject, probe;
    btSphereShape sphere;
    bool touched = false;
};

struct LeafStats {
    size_t leaves = 0, filled = 0, triangles = 0, largest = 0;
};

void CountLeaves(const OctreeNode& node, LeafStats& stats) {
    if (node.isLeaf) {
        stats.leaves++;
        stats.filled += node.triangles.empty() ? 0 : 1;
        stats.triangles += node.triangles.size();
        stats.largest = std::max(stats.largest, node.triangles.size());
        return;
    }
    for (const auto& child : node.children)
        CountLeaves(*child, stats);
}

template <typename Test>
double QueriesPerSecond(const std::vector<Query>& queries, size_t count, Test&& test) {
    const auto start = Clock::now();
    for (size_t i = 0; i < count; ++i)
        test(queries[i]);
    return count / Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
    gLogSilent = true;
    const bool canyon = argc > 1 && std::isdigit(static_cast<unsigned char>(argv[1][0]));
    const std::string path = canyon ? "" : argc > 1 ? argv[1] : LargestTrackModel();
    const int segments = canyon ? std::atoi(argv[1]) : 3000;
    const size_t count = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 200000;
    CollisionWorld world;
    if (!path.empty()) {
        CMilkshapeModel model;
        model.Load(path.c_str());
        world.CollectTriangles(model);
        printf("track model %s\n", path.c_str());
    } else {
        for (const CanyonTriangle& t : GenerateCanyon(segments))
            world.AddTriangle(t.a, t.b, t.c);
        printf("generated canyon of %d segments\n", segments);
    }
    if (world.allTriangles.empty()) {
        fprintf(stderr, "no triangles to collide with\n");
        return 1;
    }
    auto start = Clock::now();
    world.BuildOctree();
    const double octreeBuild = Seconds(start);
    start = Clock::now();
    const BulletMesh mesh(world);
    const double bvhBuild = Seconds(start);
    printf("%zu triangles; octree of %zu nodes built in %.1f ms, Bullet BVH in %.1f ms\n", world.allTriangles.size(),
           world.NodeCount(), octreeBuild * 1e3, bvhBuild * 1e3);
    LeafStats leaves;
    CountLeaves(*world.root, leaves);
    printf("octree leaves: %zu (%zu holding triangles), %.1f triangles per filled leaf, %zu in the largest\n",
           leaves.leaves, leaves.filled, double(leaves.triangles) / std::max<size_t>(leaves.filled, 1), leaves.largest);

    const std::vector<Query> queries = MakeQueries(world, count);
    BvhContactTest bvh(mesh);
    SphereContactTest sphere(mesh);
    // The same answers first: the contact and the number of triangles touched.
    size_t contacts = 0, bvhDisagree = 0, sphereDisagree = 0, octreeTested = 0;
    const size_t checked = std::min<size_t>(count, 20000);
    for (size_t i = 0; i < checked; ++i) {
        float n[3];
        const bool hit = world.ContactNormal(queries[i].from, queries[i].to, n);
        contacts += hit;
        octreeTested += world.tested;
        bvhDisagree += bvh.Hits(queries[i]) != world.hits.size();
        sphereDisagree += sphere.Touches(queries[i]) != hit;
    }
    printf("%zu of %zu checked queries touch; Bullet BVH differs on %zu, Bullet sphere contact on %zu\n", contacts,
           checked, bvhDisagree, sphereDisagree);
    printf("distance tests per query: octree %.1f, Bullet BVH %.1f, brute force %zu\n", double(octreeTested) / checked,
           double(bvh.tested) / checked, world.allTriangles.size());

    float n[3];
    const double octree =
        QueriesPerSecond(queries, count, [&](const Query& q) { world.ContactNormal(q.from, q.to, n); });
    const size_t bruteCount = std::max<size_t>(count / 200, 1);
    const double brute =
        QueriesPerSecond(queries, bruteCount, [&](const Query& q) { world.ContactNormalBruteForce(q.from, q.to, n); });
    const double bullet = QueriesPerSecond(queries, count, [&](const Query& q) { bvh.Hits(q); });
    const double bulletSphere = QueriesPerSecond(queries, count / 4, [&](const Query& q) { sphere.Touches(q); });
    printf("queries per second: octree %.0f, brute force %.0f, Bullet BVH + same distance test %.0f, "
           "Bullet sphere contact test %.0f\n",
           octree, brute, bullet, bulletSphere);
    printf("ratios: octree / brute force %.1f, octree / Bullet BVH %.2f, octree / Bullet sphere contact %.2f\n",
           octree / brute, octree / bullet, octree / bulletSphere);
    return 0;
}
