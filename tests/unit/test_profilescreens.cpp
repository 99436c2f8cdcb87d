#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "data/profile.h"
#include "menus/profilemenus.h"
#include "race/vehicle.h"
#include "keypress.h"
#include "testutil.h"

namespace {

void Type(CPhysics& page, const char* text) {
    for (const char* c = text; *c; c++)
        Key(page, static_cast<unsigned char>(*c));
}

// A whole profile file as the game writes it.
std::string ProfileText(const char* name) {
    Profile p;
    snprintf(p.name, sizeof(p.name), "%s", name);
    ResetProfile(p);
    return FormatProfile(p);
}

std::vector<std::string> Labels() {
    std::vector<std::string> labels;
    for (const MenuOption& row : gLoadProfileRows)
        labels.push_back(row.label);
    return labels;
}

class ProfileScreens : public ::testing::Test {
protected:
    void SetUp() override {
        gRequestedState = STATE_NEW_PROFILE;
        newProfile.create();
        newProfile.enter();
        loadProfile.create();
    }
    GameTreeSandbox tree;
    CNewProfilePhysics newProfile;
    CLoadProfileMenuPhysics loadProfile;
};

}  // namespace

TEST_F(ProfileScreens, TypingKeepsSeventeenAllowedCharacters) {
    Type(newProfile, "ab-c!d");  // refused characters change nothing
    EXPECT_STREQ(gNewProfileName, "abcd");
    for (int i = 0; i < 5; i++)
        Key(newProfile, kKeyBackspace);  // the fifth, on an empty name: only the alert
    EXPECT_STREQ(gNewProfileName, "");
    Type(newProfile, "ABCDEFGHIJKLMNOPQR");
    EXPECT_STREQ(gNewProfileName, "ABCDEFGHIJKLMNOPQ");
    Key(newProfile, kKeyEscape);
    EXPECT_EQ(gRequestedState, STATE_MAIN_MENU);
}

// A name already taken would reset that career; a profile that cannot be saved must not seem created.
TEST_F(ProfileScreens, ATakenNameOrAnUnsavableProfileIsRefusedWithANotice) {
    WriteText(tree.Path("Profiles/Ace.txt"), "NAME Ace\nCASH 5000\n");
    Type(newProfile, "Ace");
    Key(newProfile, kKeyEnter);
    EXPECT_EQ(gRequestedState, STATE_NEW_PROFILE);
    EXPECT_NE(gNewProfileNotice.find("already exists"), std::string::npos);
    EXPECT_EQ(ReadText(tree.Path("Profiles/Ace.txt")), "NAME Ace\nCASH 5000\n");
    std::filesystem::remove_all(tree.Path("Profiles"));
    WriteText(tree.Path("Profiles"), "a file where the folder should be");
    Type(newProfile, "2");  // "Ace2"
    Key(newProfile, kKeyEnter);
    EXPECT_EQ(gRequestedState, STATE_NEW_PROFILE);
    EXPECT_NE(gNewProfileNotice.find("could not be saved"), std::string::npos);
}

TEST_F(ProfileScreens, LoadListOffersOnlyProfileNamedFiles) {
    WriteText(tree.Path("Profiles/Bea.txt"), ProfileText("Bea"));
    WriteText(tree.Path("Profiles/Al.txt"), ProfileText("Al"));
    WriteText(tree.Path("Profiles/notes.md"), "not a profile\n");
    WriteText(tree.Path("Profiles/..sneaky.txt"), ProfileText("x"));
    WriteText(tree.Path("Profiles/tab\tname.txt"), ProfileText("y"));
    WriteText(tree.Path("Profiles/a_name_far_too_long_for_a_profile.txt"), ProfileText("z"));
    std::filesystem::create_directories(tree.Path("Profiles/folder.txt"));
    loadProfile.enter();
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Back", "Al", "Bea"}));
}

// The hall of champions opens only at a whole 100 %, not at what only shows as 100; changing vehicle needs two.
TEST_F(ProfileScreens, ProfileMenuFlagsWhatIsUnavailable) {
    CProfileMenuPhysics menu;
    menu.create();
    ResetProfile();
    gProfile.percentComplete = 99.5f;
    menu.enter();
    EXPECT_TRUE(gProfileMenuItems[PROFILE_CHANGE_VEHICLE].unavailable);
    EXPECT_TRUE(gProfileMenuItems[PROFILE_HALL_OF_CHAMPIONS].unavailable);
    gProfile.percentComplete = 99.99f;
    gProfile.ownedVehicles[2] = true;
    gProfile.ownedCount = 2;
    menu.enter();
    EXPECT_FALSE(gProfileMenuItems[PROFILE_CHANGE_VEHICLE].unavailable);
    EXPECT_FALSE(gProfileMenuItems[PROFILE_HALL_OF_CHAMPIONS].unavailable);
}
