#include <gtest/gtest.h>

#include <filesystem>

#include "filewriter.h"
#include "ms3dwriter.h"
#include "race/collision.h"
#include "testutil.h"
#include "trackdesign.h"
#include "trackpath.h"

TEST(TrackPath, EvenSamplesWithUprightFramesAndCameraYaws) {
    const std::vector<PathFrame> path = SamplePath({{0, 0, 0}, {0, 0, -100}, {60, 10, -160}, {60, 10, -260}}, 3.0f);
    ASSERT_GT(path.size(), 80u);
    for (size_t i = 1; i < path.size(); i++) {
        EXPECT_NEAR(path[i].distance - path[i - 1].distance, 3.0f, 1e-3f);
        EXPECT_LT(Len(path[i].pos - path[i - 1].pos), 3.01f);  // chords never longer than the arc
        const PathFrame& f = path[i];
        EXPECT_NEAR(Len(f.forward), 1.0f, 1e-4f);
        EXPECT_NEAR(Dot(f.forward, f.side), 0.0f, 1e-4f);
        EXPECT_NEAR(Dot(f.side, f.up), 0.0f, 1e-4f);
        EXPECT_GT(f.up.y, 0.9f);           // floors stay close to level
        EXPECT_NEAR(f.side.y, 0.0f, 1e-4f);  // and never tilt sideways
    }
    EXPECT_TRUE(SamplePath({{1, 2, 3}}, 3.0f).empty());
    // Yaws as the camera has them.
    EXPECT_NEAR(YawOf({0, 0, -1}), 0.0f, 1e-4f);  // straight ahead is -z
    EXPECT_NEAR(YawOf({1, 0, 0}), 90.0f, 1e-4f);  // a positive yaw turns right
}

// Every generated track must leave its centre line clear, or the autopilot (and a player following the
// obvious way) would scrape a wall. Required vehicles only rise, each has at least five tracks, and the last
// track is longer than the first built. (Closure, proved by a flood, and the goal across the line: the content
// check's probes.)
TEST(TrackDesign, EveryTrackFitsItsFileKeepsItsCentreLineClearAndTheyGetLonger) {
    int perVehicle[4] = {};
    float firstLength = 0.0f, lastLength = 0.0f;
    for (int i = 0; i < kNumTracks; i++) {
        perVehicle[DesignOf(i).vehicle]++;
        EXPECT_GE(DesignOf(i).vehicle, i > 0 ? DesignOf(i - 1).vehicle : 0) << i;
        TrackLayout layout;
        if (!BuildTrack(i, layout)) {
            EXPECT_LT(DesignOf(i).theme, 0) << i;
            continue;
        }
        SCOPED_TRACE(DesignOf(i).title);
        EXPECT_LT(layout.model.vertices.size(), 65536u);
        EXPECT_LT(layout.model.triangles.size(), 65536u);
        std::unique_ptr<CollisionWorld> world = CollisionWorld::Build(layout.model);
        ASSERT_TRUE(world);
        float normal[3];
        int contacts = 0;
        for (size_t k = 1; k + 4 < layout.path.size(); k++) {  // short of the end wall
            const float from[3] = {layout.path[k].pos.x, layout.path[k].pos.y, layout.path[k].pos.z};
            const float to[3] = {layout.path[k + 1].pos.x, layout.path[k + 1].pos.y, layout.path[k + 1].pos.z};
            contacts += world->ContactNormal(from, to, normal);
        }
        EXPECT_EQ(contacts, 0);
        lastLength = layout.path.back().distance;
        if (firstLength == 0.0f)
            firstLength = lastLength;
    }
    for (int v = 0; v < 4; v++)
        EXPECT_GE(perVehicle[v], 5);
    EXPECT_GT(lastLength, firstLength);
}

TEST(TrackDesign, BuildingIsDeterministic) {
    TrackLayout a, b;
    ASSERT_TRUE(BuildTrack(5, a));
    ASSERT_TRUE(BuildTrack(5, b));
    std::vector<uint8_t> first, second;
    std::string error;
    ASSERT_TRUE(EncodeMs3d(a.model, {}, first, error) && EncodeMs3d(b.model, {}, second, error)) << error;
    EXPECT_EQ(first, second);  // the same bytes in the file
}

// The generator may be given a relative game tree; once inside its bin folder that path no longer leads
// there, so everything written afterwards goes through the absolute root.
TEST(GameBinFolder, EntersBinAndComesBackWithAnAbsoluteRoot) {
    namespace fs = std::filesystem;
    const GameTreeSandbox sandbox;
    const fs::path tree = sandbox.root, base = tree.parent_path();
    fs::current_path(base);
    {
        const GameBinFolder folder(tree.filename());
        ASSERT_TRUE(folder.ok());
        EXPECT_EQ(fs::current_path(), tree / "bin");
        EXPECT_EQ(fs::path(folder.root()), tree);
    }
    EXPECT_EQ(fs::current_path(), base);
    const GameBinFolder missing("no such tree");
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(fs::current_path(), base);
}
