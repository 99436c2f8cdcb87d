#include <gtest/gtest.h>

#include "menus/settingsmenus.h"
#include "platform/displaymodes.h"
#include "keypress.h"
#include "testutil.h"

namespace {

class SettingsPage : public ::testing::Test {
protected:
    void SetUp() override {
        saved = gSettings;
        gSettings = DefaultSettings();
        gRequestedState = STATE_VIDEO_SETTINGS;
    }
    void TearDown() override { gSettings = saved; }
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
    const std::vector<ScreenMode> kept = FilterDisplayModes(modes, {1024, 768});
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_EQ(kept[1].height, 600);  // by width, then height
    EXPECT_EQ(kept[3].width, 1280);
    const std::vector<ScreenMode> withRunning = FilterDisplayModes(modes, {1000, 700});  // not the display's
    ASSERT_EQ(withRunning.size(), 5u);
    EXPECT_EQ(withRunning[1].width, 1000);
}

TEST_F(SettingsPage, EveryStoredVolumeStepShowsItsOwnChoice) {
    for (int tenths = 0; tenths <= 10; tenths++) {
        gSettings.audioVolume = float(tenths) / 10.0f;
        CAudioSettingsPhysics audio;
        audio.create();
        EXPECT_EQ(gAudioRows[AUDIO_VOLUME].ChoiceValue(), tenths);
    }
}

// Each page changes only its own fields in the file: a later save elsewhere keeps them, and a volume left
// with Escape stays out of it.
TEST_F(SettingsPage, EachPageSavesOnlyItsOwnFieldsOverTheFile) {
    SaveSettings(gSettings);
    CVideoSettingsPhysics video;
    video.create();
    Specials(video, {kKeyDown, kKeyRight, kKeyDown, kKeyDown, kKeyLeft, kKeyUp, kKeyUp, kKeyUp});
    Key(video, kKeyEnter);  // full screen, shadows off
    CAudioSettingsPhysics audio;
    audio.create();
    Specials(audio, {kKeyDown, kKeyLeft, kKeyUp});
    Key(audio, kKeyEnter);  // 0.7
    Specials(audio, {kKeyDown, kKeyLeft});
    Key(audio, kKeyEscape);
    CControlSettingsPhysics controls;
    controls.create();
    Key(controls, kKeyEnter);
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
    Specials(video, {kKeyDown, kKeyDown, kKeyDown, kKeyRight, kKeyUp, kKeyUp, kKeyUp});
    Key(video, kKeyEnter);
    ASSERT_TRUE(LoadSettingsFrom(kSettingsFile, file));
    EXPECT_EQ(file.shadows, 1);
    EXPECT_EQ(file.screenWidth, 1000);
    EXPECT_EQ(file.screenHeight, 700);
}

// Characters bind at once; Enter captures special keys until Enter again. A key another control has swaps the two.
TEST_F(SettingsPage, KeysBindAtOnceOrWhileCapturingAndAKeyInUseSwaps) {
    CControlSettingsPhysics controls;
    controls.create();
    const size_t forwardRow = CONTROL_FIRST_BINDING + BINDING_FORWARD;
    Specials(controls, {kKeyDown, kKeyDown});
    Key(controls, 'z');  // Brake's key: Brake takes Forward's "a"
    EXPECT_EQ(controls.bindings[BINDING_FORWARD].code, 'z');
    EXPECT_EQ(controls.bindings[BINDING_BRAKE].code, 'a');
    EXPECT_STREQ(gControlRows[forwardRow + 1].ChoiceText(), "a");
    Key(controls, 'A');  // a letter under Shift or Caps Lock is still its key, and binds as typed without them
    EXPECT_EQ(controls.bindings[BINDING_FORWARD].code, 'a');
    EXPECT_EQ(controls.bindings[BINDING_BRAKE].code, 'z');
    Key(controls, kKeyEnter);
    EXPECT_TRUE(gControlRows[forwardRow].capturing);
    Special(controls, 7);
    EXPECT_STREQ(gControlRows[forwardRow].ChoiceText(), "F7");
    Special(controls, kKeyUp);  // a key of its own again, not navigation: Turn upwards' key
    EXPECT_EQ(controls.current, int(forwardRow));
    EXPECT_TRUE(controls.bindings[BINDING_FORWARD].special);
    EXPECT_STREQ(gControlRows[forwardRow + BINDING_UP].ChoiceText(), "F7");
    Special(controls, 50);  // a special code without a name of its own shows its number
    EXPECT_STREQ(gControlRows[forwardRow].ChoiceText(), "#50");
    Special(controls, kKeyPadBack);  // the pad's own buttons are no keys for a control
    EXPECT_STREQ(gControlRows[forwardRow].ChoiceText(), "#50");
    Key(controls, 'z');  // capturing or not, characters still bind
    EXPECT_EQ(controls.bindings[BINDING_BRAKE].code, 50);
    controls.enter();
    EXPECT_TRUE(controls.capturing);  // still waiting for a key on the next visit
    Key(controls, kKeyEnter);
    EXPECT_FALSE(gControlRows[forwardRow].capturing);
    Special(controls, kKeyDown);
    EXPECT_EQ(controls.current, int(forwardRow) + 1);
}
