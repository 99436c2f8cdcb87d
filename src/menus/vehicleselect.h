#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/states.h"
#include "menus/menu.h"

class CBitmapFont;
struct Profile;

// A modal message box with buttons, drawn over the vehicle screens.
struct MenuDialog {
    void AddDialogButton(const char* text) { buttons.emplace_back(text); }

    char text[64] = {};
    std::vector<std::string> buttons;
    int32_t chosen = 0;
    int32_t textLength = 0;
    bool open = false;
};

extern int gShownVehicle;  // 0..3
extern CardSlide gVehicleSlide;
extern MenuDialog gPurchaseDialog;  // "Purchase vehicle for $<price>?" NO / YES
extern MenuDialog gRefusalDialog;   // "Not enough money to purchase vehicle" OK
extern int gPurchaseVehicle;        // the vehicle the open confirmation asks about

// What Enter on vehicle v in the purchase screen leads to.
enum PurchaseVerdict { PURCHASE_OWNED, PURCHASE_AFFORDABLE, PURCHASE_TOO_DEAR };
PurchaseVerdict JudgePurchase(const Profile& profile, int v, int32_t price);
// Books vehicle v bought for price into the profile: owned, counted, paid for, made current.
void BuyVehicle(Profile& profile, int v, int32_t price);

// Pages through the owned vehicles; Enter makes the shown one the current vehicle.
class CVehicleSelectMenuPhysics : public CMenuScreenPhysics {
public:
    explicit CVehicleSelectMenuPhysics(int state = STATE_VEHICLE_SELECT) : state(state) {}
    void update(float dt) override;
    void onKey(unsigned char key, bool down) override;
    void onSpecialKey(int key, bool down) override;
    void create() override;
    void enter() override;
    virtual void onEnterPressed();

protected:
    const int state;  // which of the two screens this object serves
};

// Pages through all four vehicles; Enter buys the shown one after a confirmation.
class CVehiclePurchaseMenuPhysics : public CVehicleSelectMenuPhysics {
public:
    CVehiclePurchaseMenuPhysics();
    void enter() override;
    void onSpecialKey(int key, bool down) override;
    void onEnterPressed() override;
};

class CVehicleSelectMenuRenderer : public CRenderer {
public:
    explicit CVehicleSelectMenuRenderer(TextureManager* textures);
    ~CVehicleSelectMenuRenderer() override;
    void draw() override;
    void init() override;
    void enter() override;
    void leave() override {}

private:
    void DrawStatistics(bool purchase) const;
    void DrawDialog(const MenuDialog& dialog) const;

    uint32_t background = 0;
    std::unique_ptr<CBitmapFont> nameFont, titleFont, infoFont, hintFont, statisticsFont, dialogFont, buttonFont;
    int nameX = 0, nameY = 0, nameLength = 0;
    int hintX = 0;
};
