// Scripted input for the race without a window.
#include <gtest/gtest.h>

#include <initializer_list>

#include "data/settings.h"
#include "data/trackscript.h"
#include "race/headless.h"
#include "testutil.h"

namespace {

TEST(RaceInputScript, ReadsKeysAndMouseInTimeOrder) {
    std::vector<RaceInput> in;
    ASSERT_TRUE(ParseRaceInput("# start\n0 press forward\n\n1.5 mouse 10 -4\n2 release forward\n 2.5 press down\n",
                               "test", in));
    ASSERT_EQ(in.size(), 4u);
    EXPECT_TRUE(in[1].isMouse);
    EXPECT_EQ(in[1].dy, -4);
    EXPECT_FALSE(in[2].down);
    EXPECT_EQ(in[3].binding, BINDING_DOWN);
}

TEST(RaceInputScript, RefusesWhatItCannotUseNamingTheLine) {
    GameTreeSandbox sandbox;
    std::vector<RaceInput> in;
    for (const char* bad : {"0 press sideways\n", "0 hold forward\n", "1 press forward\n0 press brake\n",
                            "nan press forward\n", "0 mouse 1\n", "0 press forward extra\n"}) {
        EXPECT_FALSE(ParseRaceInput(bad, "bad", in)) << bad;
        EXPECT_TRUE(in.empty());
    }
    EXPECT_NE(ReadText(sandbox.Path("bin/log.txt")).find("Race input bad, line 2: cannot use \"0 press brake\""),
              std::string::npos);
}

TEST(RaceStart, OneUnitAboveTheVehicleFacingItsWay) {
    TrackSettings track;
    track.vehicleStartPosition[0] = 4.0f;
    track.vehicleStartPosition[1] = 2.0f;
    track.vehicleStartPosition[2] = -7.0f;
    track.vehicleStartHeading = 90.0f;
    CCamera camera;
    camera.Roll(20.0f, 30.0f);
    PlaceAtRaceStart(camera, track);
    EXPECT_FLOAT_EQ(camera.y, 3.0f);
    EXPECT_EQ(camera.roll, 0.0f);
    // A vehicle model with heading 90 flies towards -x; so does the camera.
    float dir[3];
    camera.GetDirection(dir);
    EXPECT_NEAR(-dir[0], -1.0f, 1e-5f);
}

}  // namespace
