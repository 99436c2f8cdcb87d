#include <gtest/gtest.h>

#include <cstring>

#include "data/rewards.h"
#include "keypress.h"
#include "menus/mainmenu.h"
#include "menus/menu.h"

namespace {

class MainMenu : public ::testing::Test {
protected:
    void SetUp() override {
        menu.create();
        menu.enter();
        gRequestedState = STATE_MAIN_MENU;
    }
    int Highlighted() const {
        int found = -1;
        for (int i = 0; i < kNumMainMenuItems; i++)
            if (gMainMenuItems[i].highlighted) {
                EXPECT_EQ(found, -1) << "two items highlighted";
                found = i;
            }
        return found;
    }
    CMenuPhysics menu;
};

}  // namespace

TEST_F(MainMenu, UpAndDownWrapWithinThePage) {
    Special(menu, kKeyUp);
    EXPECT_EQ(Highlighted(), MAINMENU_EXIT);
    Special(menu, kKeyDown);
    EXPECT_EQ(Highlighted(), MAINMENU_NEW_PROFILE);
    Special(menu, kKeyDown);
    Special(menu, kKeyDown);
    EXPECT_EQ(Highlighted(), MAINMENU_OPTIONS);
    Special(menu, kKeyLeft);  // no other key moves the highlight
    EXPECT_EQ(Highlighted(), MAINMENU_OPTIONS);
}

TEST_F(MainMenu, ChoosingFliesThePageOutThenRequestsOnceAndGlidesBackIn) {
    Special(menu, kKeyDown);
    Special(menu, kKeyDown);
    Key(menu, kKeyEnter);
    Animate(menu, 1.0f);
    Key(menu, kKeyEnter);
    Key(menu, kKeyEnter);  // the second press falls into the leave animation and is dropped
    Animate(menu, 0.45f);
    EXPECT_EQ(gRequestedState, STATE_MAIN_MENU);
    EXPECT_GT(gMainMenuItems[MAINMENU_VIDEO].offset[2], 10.0f);  // flying towards the camera
    Animate(menu, 0.07f);
    EXPECT_EQ(gRequestedState, STATE_VIDEO_SETTINGS);
    EXPECT_TRUE(menu.arriving);
    EXPECT_EQ(menu.target, STATE_VIDEO_SETTINGS);
    // Returning: the page glides in over 0.4 s and takes no keys until it has arrived.
    gRequestedState = STATE_MAIN_MENU;
    menu.enter();
    Animate(menu, 0.3f);
    Special(menu, kKeyDown);
    EXPECT_EQ(Highlighted(), MAINMENU_VIDEO);
    Animate(menu, 0.15f);
    EXPECT_FALSE(menu.arriving);
    for (int k = 4; k < 8; k++)
        EXPECT_EQ(gMainMenuItems[k].offset[2], 0.0f);
    Special(menu, kKeyDown);
    EXPECT_EQ(Highlighted(), MAINMENU_AUDIO);
}

TEST(MenuOption, ChoicesWrapAndLongTextsAreCut) {
    MenuOption row("Resolution");
    EXPECT_FALSE(row.StepChoice(1));
    EXPECT_EQ(row.ChoiceText(), nullptr);
    row.AddChoice("640 x 480", 0);
    row.AddChoice(std::string(80, 'x').c_str(), 1);
    EXPECT_EQ(row.choices[1].size(), 63u);
    row.StepChoice(-1);
    EXPECT_EQ(row.index, 1);
    row.StepChoice(1);
    EXPECT_STREQ(row.ChoiceText(), "640 x 480");
    MenuOption longLabel(std::string(100, 'y').c_str());
    EXPECT_EQ(strlen(longLabel.label), 63u);
}

TEST(Rewards, MoneyHasThousandsCommas) {
    EXPECT_EQ(FormatCash(1000000), "1,000,000$");
    EXPECT_EQ(FormatCash(1005), "1,005$");
    EXPECT_EQ(FormatCash(-250), "-250$");
    EXPECT_EQ(FormatPrize(500), "0,500$");
    EXPECT_EQ(FormatPrize(-1500), "-1500$");
}
