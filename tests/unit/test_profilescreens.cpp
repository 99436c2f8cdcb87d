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
    for (const char* c = text; *c; c++) {
        page.onKey(static_cast<unsigned char>(*c), true);
        page.onKey(static_cast<unsigned char>(*c), false);
    }
}



// A whole profile file as the game writes it.
std::string ProfileText(const char* name, int32_t cash) {
    Profile p;
    snprintf(p.name, sizeof(p.name), "%s", name);
    ResetProfile(p);
    p.cash = cash;
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

TEST_F(ProfileScreens, EnterCreatesAFreshProfileFile) {
    Key(newProfile, kKeyEnter);  // empty name: refused
    EXPECT_EQ(gRequestedState, STATE_NEW_PROFILE);
    Type(newProfile, " ");
    Key(newProfile, kKeyEnter);
    EXPECT_EQ(gRequestedState, STATE_PROFILE_MENU);
    EXPECT_STREQ(gProfile.name, " ");
    const std::string text = ReadText(tree.Path("Profiles/ .txt"));
    EXPECT_EQ(text.rfind("NAME  \n", 0), 0u) << text;
    EXPECT_EQ(gProfile.ownedCount, 1);
}

TEST_F(ProfileScreens, AnExistingNameIsRefusedAndItsCareerKept) {
    WriteText(tree.Path("Profiles/Ace.txt"), "NAME Ace\nCASH 5000\n");
    Type(newProfile, "Ace");
    Key(newProfile, kKeyEnter);
    EXPECT_EQ(gRequestedState, STATE_NEW_PROFILE);
    EXPECT_NE(gNewProfileNotice.find("already exists"), std::string::npos);
    EXPECT_EQ(ReadText(tree.Path("Profiles/Ace.txt")), "NAME Ace\nCASH 5000\n");
    Type(newProfile, "2");
    Key(newProfile, kKeyEnter);
    EXPECT_EQ(gRequestedState, STATE_PROFILE_MENU);
    newProfile.enter();
    EXPECT_TRUE(gNewProfileNotice.empty());
}

TEST_F(ProfileScreens, AProfileThatCannotBeSavedIsNotReportedAsCreated) {
    std::filesystem::remove_all(tree.Path("Profiles"));
    WriteText(tree.Path("Profiles"), "a file where the folder should be");
    Type(newProfile, "Nobody");
    Key(newProfile, kKeyEnter);
    EXPECT_EQ(gRequestedState, STATE_NEW_PROFILE);
    EXPECT_NE(gNewProfileNotice.find("could not be saved"), std::string::npos);
}

TEST_F(ProfileScreens, LoadListOffersOnlyProfileNamedFiles) {
    WriteText(tree.Path("Profiles/Bea.txt"), ProfileText("Bea", 0));
    WriteText(tree.Path("Profiles/Al.txt"), ProfileText("Al", 0));
    WriteText(tree.Path("Profiles/notes.md"), "not a profile\n");
    WriteText(tree.Path("Profiles/..sneaky.txt"), ProfileText("x", 0));
    WriteText(tree.Path("Profiles/tab\tname.txt"), ProfileText("y", 0));
    WriteText(tree.Path("Profiles/a_name_far_too_long_for_a_profile.txt"), ProfileText("z", 0));
    std::filesystem::create_directories(tree.Path("Profiles/folder.txt"));
    loadProfile.enter();
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Back", "Al", "Bea"}));
}

TEST_F(ProfileScreens, ADamagedProfileStaysOnThePageAndTheOthersStillLoad) {
    std::string damaged = ProfileText("Dee", 0);
    damaged.resize(damaged.size() / 2);  // cut off in the middle of a save
    WriteText(tree.Path("Profiles/Dee.txt"), damaged);
    WriteText(tree.Path("Profiles/Eve.txt"), ProfileText("Other", 7));
    gRequestedState = STATE_LOAD_PROFILE;
    loadProfile.enter();
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Back", "Dee", "Eve"}));
    Special(loadProfile, kKeyDown);
    Key(loadProfile, kKeyEnter);
    EXPECT_EQ(gRequestedState, STATE_LOAD_PROFILE);
    EXPECT_NE(gLoadProfileNotice.find("Dee"), std::string::npos);
    Special(loadProfile, kKeyDown);
    Key(loadProfile, kKeyEnter);
    EXPECT_EQ(gRequestedState, STATE_PROFILE_MENU);
    EXPECT_STREQ(gProfile.name, "Eve");  // the file's name, so later saves go back to Eve.txt
    EXPECT_EQ(gProfile.cash, 7);
}

TEST_F(ProfileScreens, DeleteAsksFirstAndRebuildsTheList) {
    WriteText(tree.Path("Profiles/Fay.txt"), ProfileText("Fay", 0));
    WriteText(tree.Path("Profiles/Gus.txt"), ProfileText("Gus", 0));
    gRequestedState = STATE_LOAD_PROFILE;
    loadProfile.enter();
    Key(loadProfile, kKeyDelete);  // on "Back": nothing
    EXPECT_FALSE(gLoadProfileConfirming);
    Special(loadProfile, kKeyDown);
    Key(loadProfile, kKeyDelete);
    EXPECT_TRUE(gLoadProfileConfirming);
    Key(loadProfile, kKeyEnter);  // "No" closes without deleting
    EXPECT_FALSE(gLoadProfileConfirming);
    EXPECT_TRUE(std::filesystem::exists(tree.Path("Profiles/Fay.txt")));
    Key(loadProfile, kKeyBackspace);
    Special(loadProfile, kKeyDown);
    EXPECT_EQ(loadProfile.current, 1);  // the list does not move under the box
    Key(loadProfile, kKeyEnter);
    EXPECT_FALSE(std::filesystem::exists(tree.Path("Profiles/Fay.txt")));
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Back", "Gus"}));
    EXPECT_EQ(loadProfile.current, 0);
}

TEST_F(ProfileScreens, ProfileMenuSkipsWhatIsUnavailable) {
    CProfileMenuPhysics menu;
    menu.create();
    ResetProfile();
    gProfile.percentComplete = 50.0f;
    menu.enter();
    EXPECT_TRUE(gProfileMenuItems[PROFILE_CHANGE_VEHICLE].flagged);
    Special(menu, kKeyDown);
    EXPECT_EQ(menu.current, PROFILE_BUY_VEHICLES);
    Special(menu, kKeyUp);
    Special(menu, kKeyUp);
    EXPECT_EQ(menu.current, PROFILE_MAIN_MENU);
    gProfile.percentComplete = 99.5f;  // shows as 100 % but is not complete
    menu.enter();
    EXPECT_TRUE(gProfileMenuItems[PROFILE_HALL_OF_CHAMPIONS].flagged);
    gProfile.percentComplete = 99.99f;
    gProfile.ownedVehicles[2] = true;
    gProfile.ownedCount = 2;
    menu.enter();
    EXPECT_FALSE(gProfileMenuItems[PROFILE_CHANGE_VEHICLE].flagged);
    Special(menu, kKeyDown);
    EXPECT_EQ(menu.current, PROFILE_HALL_OF_CHAMPIONS);
    Key(menu, kKeyEnter);
    EXPECT_EQ(gRequestedState, STATE_LOADING);
    EXPECT_EQ(gStateAfterLoading, STATE_GAME_OUTRO);
    gStateAfterLoading = 0;
}

