#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "data/profile.h"
#include "data/rewards.h"
#include "data/trackscript.h"
#include "menus/mainmenu.h"
#include "menus/menu.h"
#include "menus/profilemenus.h"
#include "menus/settingsmenus.h"
#include "menus/trackselect.h"
#include "menus/vehicleselect.h"
#include "platform/displaymodes.h"
#include "race/ghost.h"
#include "race/raceflow.h"
#include "race/vehicle.h"
#include "keypress.h"
#include "testutil.h"

namespace {

// Every page starts in its own game tree, on the default settings and a new profile named Tester with the
// first vehicle; the settings come back afterwards.
class Menus : public ::testing::Test {
protected:
    void SetUp() override {
        saved = gSettings;
        gSettings = DefaultSettings();
        snprintf(gProfile.name, sizeof(gProfile.name), "Tester");
        ResetProfile();
        gStateAfterLoading = 0;
    }
    void TearDown() override {
        gSettings = saved;
        gSelectedVehicle = 0;
        gStateAfterLoading = 0;
    }
    // Makes a page and enters it as the state the game switched to.
    void Open(CPhysics& page, int state) {
        page.create();
        gRequestedState = state;
        page.enter();
    }
    GameTreeSandbox tree;
    GameSettings saved;
};

using SettingsPage = Menus;  // the name the journey cites

// The one item highlighted.
int HighlightedMainMenuItem() {
    const auto lit = [](const MainMenuItem& item) { return item.highlighted; };
    EXPECT_EQ(std::count_if(gMainMenuItems, gMainMenuItems + kNumMainMenuItems, lit), 1);
    return int(std::find_if(gMainMenuItems, gMainMenuItems + kNumMainMenuItems, lit) - gMainMenuItems);
}

}  // namespace

// Up and down wrap within the page; choosing flies the page out, then requests once, and the page glides back in.
TEST_F(Menus, MainMenuWrapsFliesOutRequestsOnceAndGlidesBackIn) {
    CMenuPhysics menu;
    Open(menu, STATE_MAIN_MENU);
    const std::pair<const char*, int> steps[] = {
        {"U", MAINMENU_EXIT}, {"D", MAINMENU_NEW_PROFILE}, {"DD", MAINMENU_OPTIONS}, {"L", MAINMENU_OPTIONS}};
    for (const auto& [keys, item] : steps) {
        Press(menu, keys);
        EXPECT_EQ(HighlightedMainMenuItem(), item) << keys;
    }
    Press(menu, "\r");
    Animate(menu, 1.0f);
    Press(menu, "\r\r");  // the second press falls into the leave animation and is dropped
    Animate(menu, 0.45f);
    EXPECT_EQ(gRequestedState, STATE_MAIN_MENU);
    EXPECT_GT(gMainMenuItems[MAINMENU_VIDEO].offset[2], 10.0f);  // flying towards the camera
    Animate(menu, 0.07f);
    EXPECT_EQ(gRequestedState, STATE_VIDEO_SETTINGS);
    EXPECT_TRUE(menu.arriving);
    // Returning: the page glides in over 0.4 s and takes no keys until it has arrived.
    gRequestedState = STATE_MAIN_MENU;
    menu.enter();
    Animate(menu, 0.3f);
    Press(menu, "D");
    EXPECT_EQ(HighlightedMainMenuItem(), MAINMENU_VIDEO);
    Animate(menu, 0.15f);
    for (int k = 4; k < 8; k++)
        EXPECT_EQ(gMainMenuItems[k].offset[2], 0.0f);
    Press(menu, "D");
    EXPECT_EQ(HighlightedMainMenuItem(), MAINMENU_AUDIO);
}

// A row without choices has no text to step to; long texts are cut to the label's room.
TEST(MenuOption, ChoicesWrapAndLongTextsAreCut) {
    MenuOption row(std::string(100, 'y').c_str());
    EXPECT_FALSE(row.StepChoice(1));
    EXPECT_EQ(row.ChoiceText(), nullptr);
    row.AddChoice("640 x 480", 0);
    row.AddChoice(std::string(80, 'x').c_str(), 1);
    row.StepChoice(-1);
    EXPECT_EQ(strlen(row.ChoiceText()), 63u);
    row.StepChoice(1);
    EXPECT_STREQ(row.ChoiceText(), "640 x 480");
    EXPECT_EQ(strlen(row.label), 63u);
}

// (The medals' strict times: the results' tests.)
TEST(Rewards, MoneyHasThousandsCommas) {
    EXPECT_EQ(FormatCash(1000000), "1,000,000$");
    EXPECT_EQ(FormatCash(1005), "1,005$");
    EXPECT_EQ(FormatCash(-250), "-250$");
    EXPECT_EQ(FormatPrize(-1500), "-1500$");
}

// Exactly the cash buys; a negative price from a broken vehicle file never adds cash; in debt after repairs
// nothing is affordable.
TEST(PurchaseArithmetic, OwnedAffordableOrTooDear) {
    Profile p{};
    p.ownedVehicles[0] = true;
    p.ownedCount = 1;
    p.cash = 5000;
    EXPECT_EQ(JudgePurchase(p, 0, 0), PURCHASE_OWNED);
    EXPECT_EQ(JudgePurchase(p, 2, 5001), PURCHASE_TOO_DEAR);
    for (const auto& [vehicle, price] : {std::pair{1, 5000}, std::pair{3, -100}}) {
        EXPECT_EQ(JudgePurchase(p, vehicle, price), PURCHASE_AFFORDABLE) << vehicle;
        BuyVehicle(p, vehicle, price);
        EXPECT_EQ(p.cash, 0);
        EXPECT_EQ(gSelectedVehicle, vehicle);
        EXPECT_EQ(JudgePurchase(p, vehicle, price), PURCHASE_OWNED);
    }
    EXPECT_EQ(p.ownedCount, 3);
    p.cash = -250;
    EXPECT_EQ(JudgePurchase(p, 2, 0), PURCHASE_TOO_DEAR);
}

// Changing vehicle needs two, and the hall of champions a whole 100 %, not what only shows as 100. Selection
// reaches only owned vehicles; a purchase box left open still asks about its own vehicle.
TEST_F(Menus, ProfileMenuFlagsWhatIsUnavailableVehicleSelectionAndPurchase) {
    CProfileMenuPhysics menu;
    gProfile.percentComplete = 99.5f;
    Open(menu, STATE_PROFILE_MENU);
    EXPECT_TRUE(gProfileMenuItems[PROFILE_CHANGE_VEHICLE].unavailable);
    EXPECT_TRUE(gProfileMenuItems[PROFILE_HALL_OF_CHAMPIONS].unavailable);
    const int32_t prices[kNumVehicles] = {0, 5000, 20000, 60000};
    for (int v = 0; v < kNumVehicles; v++)
        gVehicles[v].price = prices[v];
    gPurchaseDialog.open = gRefusalDialog.open = false;
    CVehicleSelectMenuPhysics select;
    Open(select, STATE_VEHICLE_SELECT);
    Press(select, "R");
    Animate(select, 1.1f);
    EXPECT_EQ(gShownVehicle, 0);  // only vehicle 1 owned: slides back to it
    gProfile.ownedVehicles[2] = true;
    gProfile.ownedCount = 2;
    gProfile.percentComplete = 99.99f;
    menu.enter();
    EXPECT_FALSE(gProfileMenuItems[PROFILE_CHANGE_VEHICLE].unavailable);
    EXPECT_FALSE(gProfileMenuItems[PROFILE_HALL_OF_CHAMPIONS].unavailable);
    Press(select, "L");
    EXPECT_TRUE(gVehicleSlide.slidingLeft);
    Press(select, "L");  // during a slide: refused
    Animate(select, 1.1f);
    EXPECT_EQ(gShownVehicle, 2);
    Press(select, "\r");
    EXPECT_EQ(gSelectedVehicle, 2);
    EXPECT_NE(ReadText(tree.Path("Profiles/Tester.txt")).find("ACTIVE_VEHICLE 2"), std::string::npos);
    Press(select, "\r\x1b");  // already the current one
    EXPECT_EQ(gSelectedVehicle, 2);
    EXPECT_EQ(gRequestedState, STATE_PROFILE_MENU);

    gProfile.cash = 70000;
    CVehiclePurchaseMenuPhysics purchase;
    Open(purchase, STATE_VEHICLE_PURCHASE);
    Press(purchase, "R");
    Animate(purchase, 1.1f);
    EXPECT_EQ(gShownVehicle, 3);
    Press(purchase, "\r\x1b");
    EXPECT_EQ(gRequestedState, STATE_PROFILE_MENU);
    purchase.enter();  // back again: the box is still open, over its own vehicle
    EXPECT_TRUE(gPurchaseDialog.open);
    EXPECT_EQ(gShownVehicle, 3);
    Press(purchase, "D\r");
    EXPECT_TRUE(gProfile.ownedVehicles[3]);  // the price paid: the journey's purchase
}

// The cards come from the scripts, a picture numbered as its model, and lock the wrong vehicle. G (or the pad's
// Y) on a card that can be raced chooses the ghost for every track: the course pilot, none, the pilot again
// where the profile has no best run.
TEST_F(Menus, TrackCardsLockTheWrongVehicleAndGChoosesTheGhost) {
    for (int n = 1; n <= kNumTracks; n++)  // track n (1 based) is raced with vehicle (n - 1) % 2
        WriteText(tree.Path("Scripts/track" + std::to_string(n) + ".txt"),
                  "TRACK ../Models/track" + std::to_string(30 + n) + ".ms3d\nVEHICLE " + std::to_string((n - 1) % 2) +
                      "\nTIMEGOLD 60.5\nTIMESILVER 70\nTIMEBRONZE 80\nCASHGOLD 12500\nCASHSILVER 500\nCASHBRONZE 0\n");
    WriteText(tree.Path("Scripts/track1_pilot.txt"), "TIME 0 POS 0 0 0 HEAD 0 AZM 0 TILT 0\n"
                                                     "TIME 41.23 POS 0 0 -400 HEAD 0 AZM 0 TILT 0\n");
    WriteText(tree.Path("Scripts/track24.txt"), "TRACK ../Models/canyon.ms3d\n");
    CTrackSelectMenuPhysics physics;
    Open(physics, STATE_TRACK_SELECT);
    const TrackCard& card = gTrackCards[0];
    EXPECT_EQ(gTrackCards[22].pictureNumber, 53);
    EXPECT_EQ(gTrackCards[23].pictureNumber, 24);  // no number in the model's name: its place
    EXPECT_EQ(card.timeLines[0], "Gold Cup     :00:01:00.500");
    EXPECT_EQ(gTrackCards[23].timeLines[1], "Silver Cup   :--:--:--.---");
    EXPECT_EQ(card.cashLines[0], "Gold Cup     : 12,500$");
    EXPECT_EQ(card.cashLines[1], "Silver Cup   : 0,500$");
    EXPECT_EQ(GhostLine(card, 0.0f, gTrackBestRun), "Course pilot :00:00:41.230");
    Press(physics, "g");
    EXPECT_EQ(GhostLine(card, 0.0f, gTrackBestRun), "Ghost        :none");
    Press(physics, "Y");
    EXPECT_EQ(GhostLine(card, 75.5f, true), "Course pilot :00:00:41.230");
    gGhostChoice = GHOST_BEST;
    EXPECT_EQ(GhostLine(card, 75.5f, true), "Your best    :00:01:15.500");
    EXPECT_TRUE(gTrackVehicleAllowed);
    Press(physics, "R");
    Animate(physics, 1.1f);
    EXPECT_EQ(gSelectedTrack, 1);
    EXPECT_FALSE(gTrackVehicleAllowed);
    Press(physics, "G\r");  // locked: only the alerts
    EXPECT_EQ(gGhostChoice, GHOST_BEST);
    EXPECT_EQ(gRequestedState, STATE_TRACK_SELECT);
    gSelectedVehicle = 1;
    physics.enter();
    EXPECT_TRUE(gTrackVehicleAllowed);  // (Enter then racing it: the journey's)
}

// The load page offers only files named as profiles. The name keeps seventeen allowed characters. A name already
// taken would reset that career; a profile that cannot be saved must not seem created.
TEST_F(Menus, OnlyProfilesAreListedATakenNameOrAnUnsavableProfileIsRefusedWithANotice) {
    for (const char* name : {"Bea", "Al", "..sneaky", "tab\tname", "a_name_far_too_long_for_a_profile"})
        WriteText(tree.Path("Profiles/" + std::string(name) + ".txt"), "");
    std::filesystem::create_directories(tree.Path("Profiles/folder.txt"));
    CLoadProfileMenuPhysics loadProfile;
    Open(loadProfile, STATE_LOAD_PROFILE);
    std::vector<std::string> labels;
    for (const MenuOption& row : gLoadProfileRows)
        labels.push_back(row.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"Back", "Al", "Bea"}));
    CNewProfilePhysics newProfile;
    Open(newProfile, STATE_NEW_PROFILE);
    Press(newProfile, "ab-c!d");  // refused characters change nothing
    EXPECT_STREQ(gNewProfileName, "abcd");
    Press(newProfile, "\b\b\b\b\b");  // the fifth, on an empty name: only the alert
    EXPECT_STREQ(gNewProfileName, "");
    Press(newProfile, "ABCEFGHIJKMNOPQSTV");  // capitals other than the arrows' U, D, L and R
    EXPECT_STREQ(gNewProfileName, "ABCEFGHIJKMNOPQST");
    Press(newProfile, "\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b");
    WriteText(tree.Path("Profiles/Ace.txt"), "NAME Ace\nCASH 5000\n");
    Press(newProfile, "Ace\r");
    EXPECT_EQ(gRequestedState, STATE_NEW_PROFILE);
    EXPECT_NE(gNewProfileNotice.find("already exists"), std::string::npos);
    EXPECT_EQ(ReadText(tree.Path("Profiles/Ace.txt")), "NAME Ace\nCASH 5000\n");
    std::filesystem::remove_all(tree.Path("Profiles"));
    WriteText(tree.Path("Profiles"), "a file where the folder should be");
    Press(newProfile, "2\r");  // "Ace2"
    EXPECT_EQ(gRequestedState, STATE_NEW_PROFILE);
    EXPECT_NE(gNewProfileNotice.find("could not be saved"), std::string::npos);
    Press(newProfile, "\x1b");
    EXPECT_EQ(gRequestedState, STATE_MAIN_MENU);
}

TEST(DisplayModes, KeptOnceSortedAndOnlyWideAndDeepEnough) {
    const std::vector<DisplayMode> modes = {{1024, 768, 32}, {800, 600, 32}, {800, 600, 32}, {800, 600, 16},
                                            {320, 240, 32},  {1280, 1024, 32}, {800, 600, 32}, {1024, 600, 32},
                                            {640, 480, 24}};
    const std::vector<ScreenMode> kept = FilterDisplayModes(modes, {1024, 768});
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_EQ(kept[1].height, 600);  // by width, then height
    EXPECT_EQ(kept[3].width, 1280);
    const std::vector<ScreenMode> withRunning = FilterDisplayModes(modes, {1000, 700});  // not the display's
    ASSERT_EQ(withRunning.size(), 5u);
    EXPECT_EQ(withRunning[1].width, 1000);
}

// Every stored volume step shows its own choice. Each page changes only its own fields in the file: a later save
// elsewhere keeps them, and a volume left with Escape stays out of it.
TEST_F(SettingsPage, EachPageSavesOnlyItsOwnFieldsOverTheFile) {
    CAudioSettingsPhysics audio;
    for (int tenths = 0; tenths <= 10; tenths++) {
        gSettings.audioVolume = float(tenths) / 10.0f;
        audio.create();
        EXPECT_EQ(gAudioRows[AUDIO_VOLUME].ChoiceValue(), tenths);
    }
    gSettings = DefaultSettings();
    SaveSettings(gSettings);
    CVideoSettingsPhysics video;
    Open(video, STATE_VIDEO_SETTINGS);
    Press(video, "DRDDLUUU\r");  // full screen, shadows off
    Open(audio, STATE_AUDIO_SETTINGS);
    Press(audio, "DLU\rDL\x1b");  // 0.7, then 0.6 left with Escape
    CControlSettingsPhysics controls;
    Open(controls, STATE_CONTROL_SETTINGS);
    Press(controls, "\r");
    GameSettings file;
    ASSERT_TRUE(LoadSettingsFrom(kSettingsFile, file));
    EXPECT_EQ(file.fullscreen, 1);
    EXPECT_EQ(file.shadows, 0);
    EXPECT_FLOAT_EQ(file.audioVolume, 0.7f);
    EXPECT_EQ(gSettings.fullscreen, 0);  // the running game keeps its mode until the next start
    EXPECT_FLOAT_EQ(gSettings.audioVolume, 0.6f);

    // A size no display lists is offered and kept: saving shadows does not change it.
    gSettings.screenWidth = 1000;
    gSettings.screenHeight = 700;
    gSettings.shadows = 0;
    video.create();
    EXPECT_STREQ(gVideoRows[VIDEO_RESOLUTION].ChoiceText(), "1000 x 700");
    Press(video, "DDDRUUU\r");
    ASSERT_TRUE(LoadSettingsFrom(kSettingsFile, file));
    EXPECT_EQ(file.shadows, 1);
    EXPECT_EQ(file.screenWidth, 1000);
    EXPECT_EQ(file.screenHeight, 700);
}

// Characters bind at once; Enter captures special keys until Enter again. A key another control has swaps the two.
TEST_F(SettingsPage, KeysBindAtOnceOrWhileCapturingAndAKeyInUseSwaps) {
    CControlSettingsPhysics controls;
    Open(controls, STATE_CONTROL_SETTINGS);
    const int forwardRow = CONTROL_FIRST_BINDING + BINDING_FORWARD;
    auto shownKeys = [] {
        std::string keys;
        for (int b = 0; b < NUM_BINDINGS; ++b)
            keys += std::string(b ? " " : "") + gControlRows[size_t(CONTROL_FIRST_BINDING + b)].ChoiceText();
        return keys;
    };
    Press(controls, "DDz");  // Brake's key: Brake takes Forward's "a"
    EXPECT_EQ(shownKeys(), "z a Left Right Up Down");
    Key(controls, 'A');  // a letter under Shift or Caps Lock is still its key, and binds as typed without them
    EXPECT_EQ(shownKeys(), "a z Left Right Up Down");
    Press(controls, "\r");
    EXPECT_TRUE(gControlRows[forwardRow].capturing);
    Special(controls, 7);
    Press(controls, "U");  // a key of its own again, not navigation: Turn upwards' key, which takes F7
    EXPECT_EQ(shownKeys(), "Up z Left Right F7 Down");
    EXPECT_EQ(controls.current, forwardRow);
    Special(controls, 50);  // a special code without a name of its own shows its number
    Special(controls, kKeyPadBack);  // the pad's own buttons are no keys for a control
    Press(controls, "z");  // capturing or not, characters still bind
    EXPECT_EQ(shownKeys(), "z #50 Left Right F7 Down");
    controls.enter();
    EXPECT_TRUE(controls.capturing);  // still waiting for a key on the next visit
    Press(controls, "\rD");
    EXPECT_FALSE(gControlRows[forwardRow].capturing);
    EXPECT_EQ(controls.current, forwardRow + 1);
}
