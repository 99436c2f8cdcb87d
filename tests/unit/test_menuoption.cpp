#include <gtest/gtest.h>

#include <cstring>

#include "menus/mainmenu.h"
#include "menus/menu.h"

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

TEST(MenuText, CashHasThousandsCommas) {
    EXPECT_EQ(FormatCash(1000000), "1,000,000$");
    EXPECT_EQ(FormatCash(1005), "1,005$");
    EXPECT_EQ(FormatCash(-250), "-250$");
}
