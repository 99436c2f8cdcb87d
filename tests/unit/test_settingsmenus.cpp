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

TEST(DisplayModes, KeptOnceSortedAndOnlyWideAndDeepEnoughWithCommonSizesAsFallback) {
    const std::vector<DisplayMode> modes = {{1024, 768, 32}, {800, 600, 32}, {800, 600, 32}, {800, 600, 16},
                                            {320, 240, 32},  {1280, 1024, 32}, {800, 600, 32}, {1024, 600, 32},
                                            {640, 480, 24}};
    const std::vector<ScreenMode> kept = FilterDisplayModes(modes);
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_EQ(kept[1].height, 600);  // by width, then height
    EXPECT_EQ(kept[3].width, 1280);
    // Where XRandR offers no choice, the common sizes that fit on the screen come with its own.
    const std::vector<DisplayMode> common = CommonDisplayModes(1024, 768, 32);
    ASSERT_EQ(FilterDisplayModes(common).size(), 3u);  // 640x480, 800x600, 1024x768
    EXPECT_EQ(common.back().width, 1024);
    EXPECT_TRUE(CommonDisplayModes(600, 400, 32).empty());
}

TEST_F(SettingsPage, EveryStoredVolumeStepShowsItsOwnChoice) {
    for (int tenths = 0; tenths <= 10; tenths++) {
        gSettings.audioVolume = float(tenths) / 10.0f;
        CAudioSettingsPhysics audio;
        audio.create();
        EXPECT_EQ(gAudioRows[AUDIO_VOLUME].ChoiceValue(), tenths);
    }
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
