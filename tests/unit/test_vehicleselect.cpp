#include <gtest/gtest.h>

#include "data/profile.h"
#include "menus/vehicleselect.h"
#include "race/vehicle.h"
#include "keypress.h"
#include "testutil.h"

namespace {

class VehicleScreens : public ::testing::Test {
protected:
    void SetUp() override {
        snprintf(gProfile.name, sizeof(gProfile.name), "Buyer");
        ResetProfile();
        gSelectedVehicle = 0;
        const int32_t prices[kNumVehicles] = {0, 5000, 20000, 60000};
        for (int v = 0; v < kNumVehicles; v++)
            gVehicles[v].price = prices[v];
        gPurchaseDialog.open = false;
        gRefusalDialog.open = false;
        select.create();
        purchase.create();
    }
    void TearDown() override { gSelectedVehicle = 0; }
    GameTreeSandbox tree;
    CVehicleSelectMenuPhysics select;
    CVehiclePurchaseMenuPhysics purchase;
};

}  // namespace

TEST(PurchaseArithmetic, OwnedAffordableOrTooDear) {
    Profile p{};
    p.ownedVehicles[0] = true;
    p.ownedCount = 1;
    p.cash = 5000;
    EXPECT_EQ(JudgePurchase(p, 0, 0), PURCHASE_OWNED);
    EXPECT_EQ(JudgePurchase(p, 1, 5000), PURCHASE_AFFORDABLE);  // exactly the cash
    EXPECT_EQ(JudgePurchase(p, 2, 5001), PURCHASE_TOO_DEAR);
    BuyVehicle(p, 1, 5000);
    EXPECT_EQ(p.cash, 0);
    EXPECT_TRUE(p.ownedVehicles[1]);
    EXPECT_EQ(p.ownedCount, 2);
    EXPECT_EQ(gSelectedVehicle, 1);
    EXPECT_EQ(JudgePurchase(p, 1, 5000), PURCHASE_OWNED);
    // A negative price from a broken vehicle file never adds cash.
    EXPECT_EQ(JudgePurchase(p, 3, -100), PURCHASE_AFFORDABLE);
    BuyVehicle(p, 3, -100);
    EXPECT_EQ(p.cash, 0);
    p.cash = -250;  // in debt after repairs
    EXPECT_EQ(JudgePurchase(p, 2, 0), PURCHASE_TOO_DEAR);
}

TEST_F(VehicleScreens, SelectionOnlyReachesOwnedVehicles) {
    select.enter();
    Special(select, kKeyRight);
    Animate(select, 1.1f);
    EXPECT_EQ(gShownVehicle, 0);  // only vehicle 1 owned: slides back to it
    gProfile.ownedVehicles[2] = true;
    gProfile.ownedCount = 2;
    Special(select, kKeyLeft);
    EXPECT_TRUE(gVehicleSlide.slidingLeft);
    Special(select, kKeyLeft);  // during a slide: refused
    Animate(select, 1.1f);
    EXPECT_EQ(gShownVehicle, 2);
    Key(select, kKeyEnter);
    EXPECT_EQ(gSelectedVehicle, 2);
    EXPECT_NE(ReadText(tree.Path("Profiles/Buyer.txt")).find("ACTIVE_VEHICLE 2"), std::string::npos);
    Key(select, kKeyEnter);  // already the current one
    EXPECT_EQ(gSelectedVehicle, 2);
    Key(select, kKeyEscape);
    EXPECT_EQ(gRequestedState, STATE_PROFILE_MENU);
}

TEST_F(VehicleScreens, AConfirmationLeftOpenStillAsksAboutItsVehicle) {
    gProfile.cash = 70000;
    purchase.enter();
    Special(purchase, kKeyLeft);
    Animate(purchase, 1.1f);
    EXPECT_EQ(gShownVehicle, 3);
    Key(purchase, kKeyEnter);
    Key(purchase, kKeyEscape);
    EXPECT_EQ(gRequestedState, STATE_PROFILE_MENU);
    purchase.enter();  // back again: the box is still open, over its own vehicle
    EXPECT_TRUE(gPurchaseDialog.open);
    EXPECT_EQ(gShownVehicle, 3);
    Special(purchase, kKeyDown);
    Key(purchase, kKeyEnter);
    EXPECT_EQ(gProfile.cash, 10000);
    EXPECT_TRUE(gProfile.ownedVehicles[3]);
}
