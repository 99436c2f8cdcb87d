// Scripted input for the race without a window. (Where it puts the vehicle at the start is proven by the
// headless race flying from there into the goal zone.)
#include <gtest/gtest.h>

#include <initializer_list>

#include "data/settings.h"
#include "race/headless.h"
#include "testutil.h"

namespace {

TEST(RaceInputScript, ReadsKeysAndMouseInTimeOrderAndRefusesWhatItCannotUse) {
    GameTreeSandbox sandbox;
    std::vector<RaceInput> in;
    ASSERT_TRUE(ParseRaceInput("# start\n0 press forward\n\n1.5 mouse 10 -4\n2 release forward\n 2.5 press down\n",
                               "test", in));
    ASSERT_EQ(in.size(), 4u);
    EXPECT_TRUE(in[1].isMouse);
    EXPECT_EQ(in[1].dy, -4);
    EXPECT_FALSE(in[2].down);
    EXPECT_EQ(in[3].binding, BINDING_DOWN);
    for (const char* bad : {"0 press sideways\n", "0 hold forward\n", "1 press forward\n0 press brake\n",
                            "nan press forward\n", "0 mouse 1\n", "0 press forward extra\n"}) {
        EXPECT_FALSE(ParseRaceInput(bad, "bad", in)) << bad;
        EXPECT_TRUE(in.empty());
    }
    EXPECT_NE(ReadText(sandbox.Path("bin/log.txt")).find("Race input bad, line 2: cannot use \"0 press brake\""),
              std::string::npos);
}

}  // namespace
