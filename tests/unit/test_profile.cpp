#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include <dlfcn.h>
#include <sys/stat.h>

#include "data/profile.h"
#include "testutil.h"

namespace {

std::string NewProfileText(const char* name) {
    std::string text = std::string("NAME ") + name +
                       "\nACTIVE_VEHICLE 0\nOWNED_VEHICLE 1\nOWNED_VEHICLE 0\nOWNED_VEHICLE 0\nOWNED_VEHICLE 0\n"
                       "PERCENT_COMPLETE 0.000000\nCASH 0\nRACES_COMPLETED 0\nBRONZE_CUPS_WON 0\n"
                       "SILVER_CUPS_WON 0\nGOLD_CUPS_WON 0\n";
    for (int i = 0; i < 24; ++i)
        text += "RECORD 0.000000\n";
    return text;
}

class ProfileTest : public ::testing::Test {
protected:
    ProfileTest() {
        gProfile = Profile();
        gSelectedVehicle = 0;
    }
    bool LoadText(const std::string& text, const char* name = "Test") {
        WriteText(sandbox.Path(std::string("Profiles/") + name + ".txt"), text);
        return LoadProfile(ProfilePath(name).c_str());
    }
    void SetName(const char* name) {
        memset(gProfile.name, 0, sizeof gProfile.name);
        strncpy(gProfile.name, name, sizeof gProfile.name - 1);
    }

    GameTreeSandbox sandbox;
};

// Folder syncs fail while this is set, as they can on some network and FUSE file systems.
bool gFailFolderSync = false;

}  // namespace

extern "C" int fsync(int fd) {
    struct stat info;
    if (gFailFolderSync && fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        errno = EIO;
        return -1;
    }
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

TEST_F(ProfileTest, RoundTripKeepsEveryFieldAndEveryByte) {
    SetName("Two Words");
    ResetProfile();
    gProfile.ownedVehicles[2] = true;
    gProfile.ownedCount = 2;
    gSelectedVehicle = 2;
    gProfile.percentComplete = 41.666664f;
    gProfile.cash = -1250;
    gProfile.racesCompleted = 5;
    gProfile.bronzeCups = 1, gProfile.silverCups = 2, gProfile.goldCups = 3;
    for (int i = 0; i < kNumTracks; ++i)
        gProfile.bestTimes[i] = i % 3 ? 0.0f : 60.125f + i;
    ASSERT_TRUE(SaveProfile());
    const Profile saved = gProfile;
    gSelectedVehicle = 0;
    gProfile = Profile();
    ASSERT_TRUE(LoadProfile("../Profiles/Two Words.txt"));
    EXPECT_EQ(memcmp(&saved, &gProfile, sizeof saved), 0);  // so a save writes the same bytes again
    EXPECT_EQ(gSelectedVehicle, 2);
    // A damaged record is saved in a form that loads.
    gProfile.percentComplete = NAN;
    gProfile.bestTimes[3] = -INFINITY;
    gProfile.goldCups = -4;
    ASSERT_TRUE(SaveProfile());
    EXPECT_TRUE(LoadProfile("../Profiles/Two Words.txt"));
    EXPECT_EQ(gProfile.percentComplete, 0.0f);
    EXPECT_EQ(gProfile.bestTimes[3], 0.0f);
    EXPECT_EQ(gProfile.goldCups, 0);
}

// Every line stands alone: a file cut anywhere, without its last line end or its later lines, loads what it
// holds and keeps the rest new; an empty file is a new profile, named after its file. (No NAME line names the
// profile: fuzz_profile holds that for any line.)
TEST_F(ProfileTest, EveryCutOfAProfileLoadsWhatItHoldsAndOddValuesAsFarAsTheyGo) {
    std::string text = NewProfileText("Pilot1");
    text.replace(text.find("CASH 0"), 6, "CASH 300");
    for (size_t n = 0; n < text.size(); ++n)
        ASSERT_TRUE(LoadText(text.substr(0, n))) << n;
    EXPECT_EQ(LogText(), "");
    ASSERT_TRUE(LoadText(text.substr(0, text.find("RACES"))));
    EXPECT_EQ(gProfile.cash, 300);
    EXPECT_EQ(gProfile.ownedCount, 1);
    EXPECT_STREQ(gProfile.name, "Test");  // the file's, not the NAME line's
    EXPECT_TRUE(LoadText("", "Fresh"));
    EXPECT_STREQ(gProfile.name, "Fresh");
    EXPECT_EQ(gProfile.cash, 0);
    EXPECT_FALSE(LoadProfile("../Profiles/Nobody.txt"));
    EXPECT_EQ(LogText(), "Failed to load profile ../Profiles/Nobody.txt\n");

    // A value is read as far as it is a number and kept within what the game can show; a line without one is
    // ignored. A vehicle the profile does not own is never raced.
    const char* cases[][3] = {
        {"CASH 0\n", "CASH 12x\n", "CASH 12\n"},
        {"CASH 0\n", "CASH 99999999999\n", "CASH 2147483647\n"},
        {"ACTIVE_VEHICLE 0\n", "ACTIVE_VEHICLE 2\n", "ACTIVE_VEHICLE 0\n"},
        {"PERCENT_COMPLETE 0.000000\n", "PERCENT_COMPLETE nan\n", "PERCENT_COMPLETE 0.000000\n"},
        {"PERCENT_COMPLETE 0.000000\n", "PERCENT_COMPLETE 250\n", "PERCENT_COMPLETE 100.000000\n"},
        // Each record keeps its track's place: one that is no time counts as no time.
        {"RECORD 0.000000\nRECORD 0.000000\nRECORD 0.000000\nRECORD 0.000000\nRECORD 0.000000\n",
         "RECORD nan\nRECORD -inf\nRECORD 1e999\nRECORD -5\nRECORD 12.5\n",
         "GOLD_CUPS_WON 0\nRECORD 0.000000\nRECORD 0.000000\nRECORD 0.000000\nRECORD 0.000000\nRECORD 12.500000\n"},
    };
    for (const auto& c : cases) {
        std::string odd = NewProfileText("Test");
        odd.replace(odd.find(c[0]), strlen(c[0]), c[1]);
        EXPECT_TRUE(LoadText(odd)) << c[1];
        EXPECT_NE(FormatProfile(gProfile).find(c[2]), std::string::npos) << c[1];
    }
    EXPECT_EQ(CountOf(LogText(), "is not one it owns"), 1);  // (one out of range: fuzz_profile's)
    // Lines of other keys are ignored. (CR LF line ends: every script's reader, in the track script's test.)
    ClearLog();
    EXPECT_TRUE(LoadText(NewProfileText("Test") + "COMMENT anything\n"));
    EXPECT_STREQ(gProfile.name, "Test");
    EXPECT_EQ(LogText(), "");
}

TEST_F(ProfileTest, NamesNeverLeaveTheProfileFolderOrOverrunTheField) {
    for (const char* name : {"../../escape", "a/b", "a\\b", "..", ".hidden", "tab\there", "twenty characters!!!", ""})
        EXPECT_FALSE(IsSafeProfileName(name)) << name;
    for (const char* name : {"Pilot1", " ", "Two Words", "a.b", "nineteen characters"})
        EXPECT_TRUE(IsSafeProfileName(name)) << name;

    // The name is the file's: whatever the NAME line holds loads, and never names the file saved.
    for (const char* name : {"../../escape", "a name far longer than the field holds", "Other"}) {
        EXPECT_TRUE(LoadText(NewProfileText(name))) << name;
        EXPECT_STREQ(gProfile.name, "Test");
    }
    EXPECT_EQ(LogText(), "");

    SetName("../../escape");
    EXPECT_FALSE(SaveProfile());
    EXPECT_FALSE(std::filesystem::exists(sandbox.Path("../escape.txt")));
    EXPECT_FALSE(CreateProfile("../x"));
    EXPECT_FALSE(DeleteProfile("../bin/log"));
    EXPECT_TRUE(std::filesystem::exists(sandbox.Path("bin/log.txt")));
}

// Once the rename has put the file in place, a failed folder sync is a log line: the profile is saved.
TEST_F(ProfileTest, CreateListAndDelete) {
    gFailFolderSync = true;
    const bool created = CreateProfile("Bravo");
    gFailFolderSync = false;
    ASSERT_TRUE(created);
    EXPECT_EQ(ReadText(sandbox.Path("Profiles/Bravo.txt")), NewProfileText("Bravo"));  // exactly the file format
    EXPECT_EQ(CountOf(LogText(), "could not be synced"), 1);
    ClearLog();
    gProfile.cash = 700;
    ASSERT_TRUE(SaveProfile());
    ASSERT_TRUE(CreateProfile("Alpha"));
    EXPECT_FALSE(CreateProfile("Bravo"));  // never overwrites a career
    ASSERT_TRUE(LoadProfile("../Profiles/Bravo.txt"));
    EXPECT_EQ(gProfile.cash, 700);
    EXPECT_EQ(LogText(), "Cannot create profile Bravo: a profile of that name exists\n");
    WriteText(sandbox.Path("Profiles/Charlie.txt.tmp"), "half a save");
    WriteText(sandbox.Path("Profiles/Alpha.ghosts/track1.txt"), "TIME 0 POS 0 0 0 HEAD 0 AZM 0 TILT 0\n");
    EXPECT_EQ(ListProfiles(), (std::vector<std::string>{"Alpha", "Bravo"}));
    EXPECT_TRUE(DeleteProfile("Alpha"));
    EXPECT_FALSE(std::filesystem::exists(sandbox.Path("Profiles/Alpha.ghosts")));  // its ghosts go with it
    // Links, in the ghosts' place or inside their folder, go as links: what they point to stays whole.
    std::filesystem::create_directories(sandbox.Path("outside/sub"));
    WriteText(sandbox.Path("outside/keep.txt"), "mine");
    for (const char* link : {"Profiles/Alpha.ghosts", "Profiles/Alpha.ghosts/track2.txt"}) {
        ASSERT_TRUE(CreateProfile("Alpha"));
        std::filesystem::create_directories(std::filesystem::path(sandbox.Path(link)).parent_path());
        std::filesystem::create_directory_symlink(sandbox.Path("outside"), sandbox.Path(link));
        EXPECT_TRUE(DeleteProfile("Alpha")) << link;
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(sandbox.Path(link)))) << link;
        EXPECT_EQ(ReadText(sandbox.Path("outside/keep.txt")), "mine") << link;
        EXPECT_TRUE(std::filesystem::is_directory(sandbox.Path("outside/sub"))) << link;
    }
    EXPECT_FALSE(DeleteProfile("Alpha"));
    EXPECT_NE(LogText().find("Failed to delete profile ../Profiles/Alpha.txt"), std::string::npos);
    EXPECT_EQ(ListProfiles(), (std::vector<std::string>{"Bravo"}));
}

TEST(FormatRaceTime, Cases) {
    const std::pair<float, const char*> cases[] = {
        {0.0f, "--:--:--.---"},      {-3.0f, "--:--:--.---"},           {NAN, "--:--:--.---"},
        {0.0004f, "00:00:00.000"},   {83517 / 1000.0f, "00:01:23.517"}, {59.999f, "00:00:59.999"},
        {45296.75f, "12:34:56.750"}, {1e9f, "99:59:59.999"},            {INFINITY, "99:59:59.999"},
    };
    for (const auto& c : cases) {  // (nothing written past the 13 bytes: fuzz_profile's, under the sanitizers)
        char out[kRaceTimeSize];
        FormatRaceTime(c.first, out);
        EXPECT_STREQ(out, c.second) << c.first;
    }
}
