#include <gtest/gtest.h>

#include <filesystem>

#include "filewriter.h"
#include "race/collision.h"
#include "testutil.h"
#include "trackdesign.h"
#include "trackpath.h"

// Every generated track must leave its centre line clear, or the autopilot (and a player following the
// obvious way) would scrape a wall; its start faces along the line, as the camera counts yaw. (Closure, proved by
// a flood, the goal across the line and a progression a silver player can afford: the content check's.)
TEST(TrackDesign, EveryTrackKeepsItsCentreLineClearAndTheGeneratorEntersBinAndComesBack) {
    EXPECT_NEAR(YawOf({0, 0, -1}), 0.0f, 1e-4f);  // straight ahead is -z
    EXPECT_NEAR(YawOf({1, 0, 0}), 90.0f, 1e-4f);  // a positive yaw turns right
    for (int i = 0; i < kNumTracks; i++) {
        TrackLayout layout;
        if (!BuildTrack(i, layout)) {
            EXPECT_LT(DesignOf(i).theme, 0) << i;
            continue;
        }
        SCOPED_TRACE(DesignOf(i).title);
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
    }

    // The generator may be given a relative game tree; once inside its bin folder that path no longer leads
    // there, so everything written afterwards goes through the absolute root.
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
