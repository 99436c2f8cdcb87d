#include <gtest/gtest.h>

#include <sstream>

#include "menus/settingsmenus.h"
#include "platform/displaymodes.h"
#include "keypress.h"
#include "testutil.h"

namespace {

// Lines of the settings file as a key -> value map, plus how many lines it has.
std::map<std::string, int> ReadSettingsFile(const GameTreeSandbox& tree, int* lines) {
    std::map<std::string, int> values;
    std::istringstream in(ReadText(tree.Path("gamesettings.txt")));
    std::string key;
    int value = 0;
    *lines = 0;
    while (in >> key >> value) {
        values[key] = value;
        (*lines)++;
    }
    return values;
}

class SettingsPage : public ::testing::Test {
protected:
    void SetUp() override {
        saved = gSettings;
        gSettings = DefaultSettings();
        gRequestedState = STATE_VIDEO_SETTINGS;
    }
    void TearDown() override { gSettings = saved; }
    // The settings file as written: always all 13 lines.
    std::map<std::string, int> SavedFile() const {
        int lines = 0;
        auto values = ReadSettingsFile(tree, &lines);
        EXPECT_EQ(lines, 13);
        return values;
    }
    static void Specials(CPhysics& page, std::initializer_list<int> keys) {
        for (int key : keys)
            Special(page, key);
    }
    GameTreeSandbox tree;
    GameSettings saved;
};

}  // namespace

TEST(DisplayModes, KeptOnceSortedAndOnlyWideAndDeepEnough) {
    const std::vector<DisplayMode> modes = {{1024, 768, 32}, {800, 600, 32}, {800, 600, 32}, {800, 600, 16},
                                            {320, 240, 32},  {1280, 1024, 32}, {800, 600, 32}, {1024, 600, 32},
                                            {640, 480, 24}};
    const std::vector<ScreenMode> kept = FilterDisplayModes(modes);
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_EQ(kept[1].height, 600);  // by width, then height
    EXPECT_EQ(kept[3].width, 1280);
}

TEST_F(SettingsPage, VideoSavesACopyAndLeavesTheRunningGameAlone) {
    gSettings.fullscreen = 0;
    gSettings.shadows = 1;
    CVideoSettingsPhysics video;
    video.create();
    video.modes = {{640, 480}, {800, 600}, {1024, 768}};  // what a display might offer
    MenuOption& resolution = gVideoRows[VIDEO_RESOLUTION];
    resolution.choices = {"640 x 480", "800 x 600", "1024 x 768"};
    resolution.values = {0, 1, 2};
    resolution.index = 2;
    // FULL SCREEN, the resolution wrapped round to 640 x 480, shadows off, back up to "Save and return".
    Specials(video, {kKeyDown, kKeyRight, kKeyDown, kKeyRight, kKeyDown, kKeyLeft, kKeyUp, kKeyUp, kKeyUp});
    Key(video, kKeyEnter);
    EXPECT_EQ(gRequestedState, STATE_MAIN_MENU);
    auto file = SavedFile();
    EXPECT_EQ(file["fullscreen"], 1);
    EXPECT_EQ(file["screenwidth"], 640);
    EXPECT_EQ(file["screenheight"], 480);
    EXPECT_EQ(file["shadows"], 0);
    EXPECT_EQ(gSettings.screenWidth, 1024);  // the running game keeps its own until restarted
}

TEST_F(SettingsPage, VolumeAppliesAtOnceAndMaxWrapsToOff) {
    gSettings.audioVolume = 0.7f;
    CAudioSettingsPhysics audio;
    audio.create();
    EXPECT_STREQ(gAudioRows[AUDIO_VOLUME].ChoiceText(), "7");
    Specials(audio, {kKeyDown, kKeyRight, kKeyRight, kKeyRight});
    EXPECT_STREQ(gAudioRows[AUDIO_VOLUME].ChoiceText(), "MAX");
    EXPECT_FLOAT_EQ(gSettings.audioVolume, 1.0f);
    Special(audio, kKeyRight);
    EXPECT_STREQ(gAudioRows[AUDIO_VOLUME].ChoiceText(), "OFF");
    EXPECT_FLOAT_EQ(gSettings.audioVolume, 0.0f);
    Specials(audio, {kKeyLeft, kKeyLeft, kKeyUp});
    Key(audio, kKeyEnter);
    auto file = SavedFile();
    EXPECT_EQ(file["audio_volume"], 9);
    EXPECT_EQ(file["key_forward"], 97);
}

TEST_F(SettingsPage, EveryStoredVolumeStepShowsItsOwnChoice) {
    for (int tenths = 0; tenths <= 10; tenths++) {
        gSettings.audioVolume = float(tenths) / 10.0f;
        CAudioSettingsPhysics audio;
        audio.create();
        EXPECT_EQ(gAudioRows[AUDIO_VOLUME].ChoiceValue(), tenths);
    }
}

TEST_F(SettingsPage, TypingOnABindingRowBindsItWithoutEnter) {
    CControlSettingsPhysics controls;
    controls.create();
    Key(controls, 'w');  // on "Save and return": nothing to bind
    EXPECT_EQ(controls.bindings[BINDING_FORWARD].code, 'a');
    Specials(controls, {kKeyDown, kKeyDown});
    Key(controls, 'w');
    EXPECT_STREQ(gControlRows[CONTROL_FIRST_BINDING].ChoiceText(), "w");
    EXPECT_EQ(gSettings.keys[BINDING_FORWARD].code, 'a');  // only saving applies it
    Specials(controls, {kKeyUp, kKeyUp});
    Key(controls, kKeyEnter);
    EXPECT_EQ(gSettings.keys[BINDING_FORWARD].code, 'w');
    auto file = SavedFile();
    EXPECT_EQ(file["key_forward"], int('w'));
    EXPECT_EQ(file["key_left"], 1100);
}

TEST_F(SettingsPage, CapturingTakesSpecialKeysUntilEnterAgain) {
    CControlSettingsPhysics controls;
    controls.create();
    const int turnLeftRow = CONTROL_FIRST_BINDING + BINDING_LEFT;
    for (int i = 0; i < turnLeftRow; i++)
        Special(controls, kKeyDown);
    Key(controls, kKeyEnter);
    EXPECT_TRUE(controls.capturing);
    EXPECT_TRUE(gControlRows[size_t(turnLeftRow)].flagged);
    Special(controls, 7);  // F7
    EXPECT_STREQ(gControlRows[size_t(turnLeftRow)].ChoiceText(), "F7");
    Special(controls, kKeyLeft);  // a key of its own again, not navigation
    EXPECT_EQ(controls.current, turnLeftRow);
    EXPECT_STREQ(gControlRows[size_t(turnLeftRow)].ChoiceText(), "Left");
    Key(controls, kKeyEnter);
    EXPECT_FALSE(controls.capturing);
    EXPECT_FALSE(gControlRows[size_t(turnLeftRow)].flagged);
    Special(controls, kKeyDown);
    EXPECT_EQ(controls.current, turnLeftRow + 1);
}

TEST_F(SettingsPage, AKeyAnotherControlHoldsIsRefusedWithANotice) {
    CControlSettingsPhysics controls;
    controls.create();
    Specials(controls, {kKeyDown, kKeyDown});
    Key(controls, 'z');  // Brake's key
    EXPECT_EQ(controls.bindings[BINDING_FORWARD].code, 'a');
    EXPECT_NE(gControlNotice.find("Brake"), std::string::npos);
    Key(controls, 'a');  // its own key again is fine
    EXPECT_TRUE(gControlNotice.empty());
    Key(controls, kKeyEnter);
    Special(controls, kKeyUp);  // Turn upwards holds Up
    EXPECT_FALSE(controls.bindings[BINDING_FORWARD].special);
    EXPECT_NE(gControlNotice.find("Turn upwards"), std::string::npos);
    Special(controls, 50);  // a special code without a name of its own shows its number
    EXPECT_STREQ(gControlRows[CONTROL_FIRST_BINDING].ChoiceText(), "#50");
    Key(controls, 'z');  // capturing or not, characters still bind; Brake's is still refused
    EXPECT_EQ(controls.bindings[BINDING_FORWARD].code, 50);
    controls.enter();
    EXPECT_TRUE(gControlNotice.empty());
    EXPECT_TRUE(controls.capturing);  // still waiting for a key on the next visit
}

TEST_F(SettingsPage, SensitivityIsSavedAsItsIndex) {
    gSettings.mouseSensitivity = 0.6f;
    CControlSettingsPhysics controls;
    controls.create();
    EXPECT_STREQ(gControlRows[CONTROL_SENSITIVITY].ChoiceText(), "MIN");
    Special(controls, kKeyDown);
    Special(controls, kKeyLeft);
    EXPECT_STREQ(gControlRows[CONTROL_SENSITIVITY].ChoiceText(), "MAX");
    Special(controls, kKeyUp);
    Key(controls, kKeyEnter);
    EXPECT_FLOAT_EQ(gSettings.mouseSensitivity, 1.6f);
    EXPECT_EQ(SavedFile()["mouse_sensitivity"], 6);
}
