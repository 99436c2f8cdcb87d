#include <gtest/gtest.h>

#include <sys/stat.h>

#include "race/recording.h"
#include "testutil.h"

TEST(Recording, SamplesInterpolateBadFilesLeaveItEmptyAndOnlyRegularFilesUpToTheLimitAreRead) {
    VehicleRecording r;
    const char three[] = "TIME 0 POS 0 0 0 HEAD 0 AZM 0 TILT 0\n"
                         "TIME 1 POS 2 4 6 HEAD 10 AZM 20 TILT 30\n"
                         "TIME 2 POS 4 0 0 HEAD 30 AZM 0 TILT 0\n";
    ASSERT_TRUE(r.Parse(three, sizeof three - 1, "test"));
    ASSERT_EQ(r.samples.size(), 3u);
    EXPECT_FLOAT_EQ(r.Sample(-1.0f).x, 0.0f);
    EXPECT_FLOAT_EQ(r.Sample(0.5f).y, 2.0f);
    EXPECT_FLOAT_EQ(r.Sample(1.5f).roll, 15.0f);  // the mean of the last two
    EXPECT_FLOAT_EQ(r.Sample(9.0f).yaw, 30.0f);
    r.Rewind();
    EXPECT_FLOAT_EQ(r.Sample(0.5f).x, 1.0f);
    GameTreeSandbox sandbox;
    // A file cut off mid-line keeps the whole lines before the cut.
    WriteText(sandbox.Path("Scripts/cut.txt"),
              "TIME 0 POS 0 0 0 HEAD 0 AZM 0 TILT 0\nTIME 1 POS 1 0 0 HEAD 0 AZM 0 TILT 0\nTIME 2 POS 1 0");
    WriteText(sandbox.Path("Scripts/empty.txt"), "");
    WriteText(sandbox.Path("Scripts/backwards.txt"),
              "TIME 0 POS 0 0 0 HEAD 0 AZM 0 TILT 0\nTIME 2 POS 1 0 0 HEAD 0 AZM 0 TILT 0\n"
              "TIME 1 POS 2 0 0 HEAD 0 AZM 0 TILT 0\n");
    for (const char* bad : {"../Scripts/missing.txt", "../Scripts/empty.txt", "../Scripts/backwards.txt"}) {
        ASSERT_TRUE(r.Load("../Scripts/cut.txt"));
        EXPECT_EQ(r.samples.size(), 2u);
        EXPECT_FALSE(r.Load(bad)) << bad;
        EXPECT_TRUE(r.Empty()) << bad;  // nothing of the recording before stays
    }
    EXPECT_TRUE(Logged("missing.txt"));
    EXPECT_TRUE(Logged("backwards.txt has time"));
    EXPECT_TRUE(Logged("Failed to parse line TIME 2 POS 1 0 in recording file ../Scripts/cut.txt"));
    const char nan[] = "TIME 0 POS nan 0 0 HEAD 0 AZM 0 TILT 0\n";
    EXPECT_FALSE(r.Parse(nan, sizeof nan - 1, "nan"));
    // A FIFO or a device in a game file's place, or a file larger than any the game writes, is refused with a
    // log line rather than read without end.
    ASSERT_EQ(mkfifo(sandbox.Path("Scripts/fifo.txt").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", sandbox.Path("Scripts/zero.txt"));
    WriteText(sandbox.Path("Scripts/huge.txt"), "");
    std::filesystem::resize_file(sandbox.Path("Scripts/huge.txt"), kMaxGameFileSize + 1);
    std::string text = "before";
    for (const char* name : {"fifo", "zero", "huge"}) {
        EXPECT_FALSE(ReadGameFile((std::string("../Scripts/") + name + ".txt").c_str(), text)) << name;
        EXPECT_EQ(text, "");
    }
    EXPECT_EQ(CountOf(ReadText("log.txt"), "Failed to read ../Scripts/"), 3);
}
