#include "menus/vehicleselect.h"

#include <cstdio>
#include <cstring>

#include "audio/soundmanager.h"
#include "data/profile.h"
#include "menus/profilemenus.h"
#include "race/vehicle.h"

int gShownVehicle = 0;
CardSlide gVehicleSlide;
MenuDialog gPurchaseDialog;
MenuDialog gRefusalDialog;
int gPurchaseVehicle = 0;

namespace {

constexpr float kPreviewTurnSpeed = 35.0f;  // degrees per second

// The next vehicle from v in direction step (+1 or -1); in the selection screen only owned ones count.
int NextVehicle(int v, int step, bool ownedOnly) {
    for (int tries = 0; tries < kNumVehicles; tries++) {
        v = (v + step + kNumVehicles) % kNumVehicles;
        if (!ownedOnly || gProfile.ownedVehicles[v])
            return v;
    }
    return v;  // owns none: stays where it started after a full turn
}

}  // namespace

PurchaseVerdict JudgePurchase(const Profile& profile, int v, int32_t price) {
    if (profile.ownedVehicles[v])
        return PURCHASE_OWNED;
    // A negative price would be a gift that adds cash; treat it as free.
    return profile.cash >= (price > 0 ? price : 0) ? PURCHASE_AFFORDABLE : PURCHASE_TOO_DEAR;
}

void BuyVehicle(Profile& profile, int v, int32_t price) {
    profile.ownedVehicles[v] = true;
    profile.ownedCount++;
    profile.cash -= price > 0 ? price : 0;
    gSelectedVehicle = v;
}

void CVehicleSelectMenuPhysics::create() {
    gVehicleSlide = CardSlide();
    gShownVehicle = 0;
}

void CVehicleSelectMenuPhysics::enter() {
    CPhysics::enter();
    gVehicleSlide.Reset();
    gShownVehicle = gSelectedVehicle;
    gVehicleSlide.target = gSelectedVehicle;
}

void CVehicleSelectMenuPhysics::update(float dt) {
    gPreviewAngle += kPreviewTurnSpeed * dt;
    if (gVehicleSlide.Advance(dt))
        gShownVehicle = gVehicleSlide.target;
}

void CVehicleSelectMenuPhysics::onSpecialKey(int key, bool down) {
    if (!down || (key != kKeyLeft && key != kKeyRight))
        return;
    if (gVehicleSlide.sliding) {
        PlayMenuSound(SOUND_ALERT);
        return;
    }
    PlayMenuSound(SOUND_INTRAMENU);
    const int step = key == kKeyRight ? 1 : -1;
    gVehicleSlide.Start(NextVehicle(gVehicleSlide.target, step, state == STATE_VEHICLE_SELECT), step);
}

void CVehicleSelectMenuPhysics::onKey(unsigned char key, bool down) {
    if (!down)
        return;
    if (key == kKeyEscape)
        gRequestedState = STATE_PROFILE_MENU;
    else if (key == kKeyEnter)
        onEnterPressed();
}

void CVehicleSelectMenuPhysics::onEnterPressed() {
    if (gShownVehicle != gSelectedVehicle) {
        gSelectedVehicle = gShownVehicle;
        PlayMenuSound(SOUND_MENUSELECT);
        SaveProfile();  // the choice outlives a quit before the next race
    } else {
        PlayMenuSound(SOUND_ALERT);
    }
}

CVehiclePurchaseMenuPhysics::CVehiclePurchaseMenuPhysics() : CVehicleSelectMenuPhysics(STATE_VEHICLE_PURCHASE) {
    gPurchaseDialog.AddDialogButton("NO");
    gPurchaseDialog.AddDialogButton("YES");
    snprintf(gRefusalDialog.text, sizeof(gRefusalDialog.text), "Not enough money to purchase vehicle");
    gRefusalDialog.textLength = int32_t(strlen(gRefusalDialog.text));
    gRefusalDialog.AddDialogButton("OK");
}

void CVehiclePurchaseMenuPhysics::onSpecialKey(int key, bool down) {
    if (!gPurchaseDialog.open && !gRefusalDialog.open)
        CVehicleSelectMenuPhysics::onSpecialKey(key, down);
    if (!down || !gPurchaseDialog.open || (key != kKeyUp && key != kKeyDown))
        return;
    PlayMenuSound(SOUND_INTRAMENU);
    gPurchaseDialog.chosen = 1 - gPurchaseDialog.chosen;
}

void CVehiclePurchaseMenuPhysics::enter() {
    CVehicleSelectMenuPhysics::enter();
    // A confirmation left open by Escape still asks about its own vehicle.
    if (gPurchaseDialog.open) {
        gShownVehicle = gPurchaseVehicle;
        gVehicleSlide.target = gPurchaseVehicle;
    }
}

void CVehiclePurchaseMenuPhysics::onEnterPressed() {
    // An open box answers Enter first, whatever vehicle shows, so it can always be closed.
    if (gPurchaseDialog.open) {
        PlayMenuSound(SOUND_MENUSELECT);
        const int v = gPurchaseVehicle;
        if (gPurchaseDialog.chosen == 1 && JudgePurchase(gProfile, v, gVehicles[v].price) == PURCHASE_AFFORDABLE) {
            BuyVehicle(gProfile, v, gVehicles[v].price);
            SaveProfile();
        }
        gPurchaseDialog.open = false;
        return;
    }
    if (gRefusalDialog.open) {
        PlayMenuSound(SOUND_MENUSELECT);
        gRefusalDialog.open = false;
        return;
    }
    const int v = gShownVehicle;
    const int32_t price = gVehicles[v].price;
    switch (JudgePurchase(gProfile, v, price)) {
    case PURCHASE_OWNED: PlayMenuSound(SOUND_ALERT); break;
    case PURCHASE_AFFORDABLE:
        PlayMenuSound(SOUND_MENUSELECT);
        snprintf(gPurchaseDialog.text, sizeof(gPurchaseDialog.text), "Purchase vehicle for $%d?", price);
        gPurchaseDialog.textLength = int32_t(strlen(gPurchaseDialog.text));
        gPurchaseDialog.chosen = 0;
        gPurchaseDialog.open = true;
        gPurchaseVehicle = v;
        break;
    case PURCHASE_TOO_DEAR:
        PlayMenuSound(SOUND_MENUSELECT);
        gRefusalDialog.open = true;
        break;
    }
}
