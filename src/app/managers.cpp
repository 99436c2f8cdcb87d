#include "app/managers.h"

#include "app/loading.h"
#include "audio/soundmanager.h"
#include "hud/bitmapfont.h"
#include "menus/mainmenu.h"
#include "menus/profilemenus.h"
#include "menus/settingsmenus.h"
#include "menus/trackselect.h"
#include "menus/vehicleselect.h"
#include "race/gamephysics.h"
#include "race/gamerenderer.h"
#include "race/raceflow.h"
#include "race/replay.h"
#include "race/sequence.h"
#include "race/trophy.h"
#include "scene/texturemanager.h"

CRendererManager* gRendererManager = nullptr;
CPhysicsManager* gPhysicsManager = nullptr;

CRendererManager::CRendererManager() {
    RegisterPrivateFont();
    textures = std::make_unique<TextureManager>();
    load = std::make_unique<CLoadRenderer>();
    current = load.get();
    game = std::make_unique<CGameRenderer>(textures.get());
    trophy = std::make_unique<CTrophyDisplay>(textures.get(), &game->camera);
    menu = std::make_unique<CMenuRenderer>(textures.get());
    profileMenu = std::make_unique<CProfileMenuRenderer>(textures.get());
    trackSelect = std::make_unique<CTrackSelectMenuRenderer>(textures.get(), trophy.get());
    vehicleSelect = std::make_unique<CVehicleSelectMenuRenderer>(textures.get());
    load->init();
    game->init();
    profileMenu->init();
    trackSelect->init();
    vehicleSelect->init();
    game->trophy = trophy.get();
}

// The glyphs are drawn into the fonts when they are made, so the face can go before the renderers do.
CRendererManager::~CRendererManager() {
    UnregisterPrivateFont();
}

CRenderer* CRendererManager::RendererFor(int state) const {
    switch (state) {
    case STATE_LOADING: return load.get();
    case STATE_MAIN_MENU: return menu.get();
    case STATE_PROFILE_MENU: return profileMenu.get();
    case STATE_TRACK_SELECT: return trackSelect.get();
    case STATE_VEHICLE_SELECT:
    case STATE_VEHICLE_PURCHASE: return vehicleSelect.get();
    case STATE_GAME_INTRO:
    case STATE_RACE_INTRO:
    case STATE_COUNTDOWN:
    case STATE_RACE:
    case STATE_INGAME_MENU:
    case STATE_RACE_COMPLETED:
    case STATE_REPLAY:
    case STATE_GAME_OUTRO: return game.get();
    default: return nullptr;  // main menu pages keep the main menu's renderer; unknown ids change nothing
    }
}

void CRendererManager::SwitchTo(int state) {
    CRenderer* selected = RendererFor(state);
    if (!selected)
        return;
    if (state == STATE_COUNTDOWN)
        game->ResetRaceTimer();  // a restarted run shows 0 through its countdown
    else if (state == STATE_RACE)
        game->StartRaceTimer(currentState == STATE_INGAME_MENU);
    else if (state == STATE_INGAME_MENU || state == STATE_RACE_COMPLETED)
        game->StopRaceTimer();
    if (selected != current) {
        current->leave();
        current = selected;
        current->enter();
    }
}

CPhysicsManager::CPhysicsManager() {
    // The race camera is the game renderer's; unit tests build this manager without renderers.
    CCamera* camera = gRendererManager ? &gRendererManager->game->camera : nullptr;
    LoadVehicles(gRendererManager ? gRendererManager->textures.get() : nullptr, camera);
    for (int i = 0; i < kNumVehicles; ++i)
        dynamics[i] = MakeDynamics(gVehicles[i]);
    auto make = [](std::unique_ptr<CPhysics> p) {
        p->create();
        return p;
    };
    load = std::make_unique<CLoadPhysics>();
    load->create();
    menu = make(std::make_unique<CMenuPhysics>());
    game = std::make_unique<CGamePhysics>(camera, &dynamics[SelectedVehicleIndex()]);  // its create is never called
    auto counter = std::make_unique<CCountdownPhysics>();
    counter->race = game.get();
    countdown = make(std::move(counter));
    auto scripted = std::make_unique<CRaceIntroAnimationPhysics>(camera);
    scripted->dynamics = &dynamics[0];  // the sequences always fly the first vehicle
    sequence = make(std::move(scripted));
    videoSettings = make(std::make_unique<CVideoSettingsPhysics>());
    audioSettings = make(std::make_unique<CAudioSettingsPhysics>());
    controlSettings = make(std::make_unique<CControlSettingsPhysics>());
    newProfile = make(std::make_unique<CNewProfilePhysics>());
    profileMenu = make(std::make_unique<CProfileMenuPhysics>());
    trackSelect = make(std::make_unique<CTrackSelectMenuPhysics>());
    loadProfile = make(std::make_unique<CLoadProfileMenuPhysics>());
    auto results = std::make_unique<CRaceCompletedPhysics>();
    results->race = game.get();
    raceCompleted = make(std::move(results));
    ingameMenu = make(std::make_unique<CIngameMenuPhysics>());
    vehicleSelect = make(std::make_unique<CVehicleSelectMenuPhysics>());
    vehiclePurchase = make(std::make_unique<CVehiclePurchaseMenuPhysics>());
    auto viewer = std::make_unique<CReplayPhysics>();
    viewer->race = game.get();
    replay = make(std::move(viewer));
    current = load.get();
    current->enter();
}

// The update objects go after this, and none of them holds a vehicle's model.
CPhysicsManager::~CPhysicsManager() {
    ReleaseVehicles();
}

CPhysics* CPhysicsManager::PhysicsFor(int state) const {
    switch (state) {
    case STATE_LOADING: return load.get();
    case STATE_GAME_INTRO:
    case STATE_RACE_INTRO:
    case STATE_GAME_OUTRO: return sequence.get();
    case STATE_MAIN_MENU: return menu.get();
    case STATE_LOAD_PROFILE: return loadProfile.get();
    case STATE_VIDEO_SETTINGS: return videoSettings.get();
    case STATE_AUDIO_SETTINGS: return audioSettings.get();
    case STATE_CONTROL_SETTINGS: return controlSettings.get();
    case STATE_NEW_PROFILE: return newProfile.get();
    case STATE_PROFILE_MENU: return profileMenu.get();
    case STATE_TRACK_SELECT: return trackSelect.get();
    case STATE_COUNTDOWN: return countdown.get();
    case STATE_RACE: return game.get();
    case STATE_INGAME_MENU: return ingameMenu.get();
    case STATE_RACE_COMPLETED: return raceCompleted.get();
    case STATE_VEHICLE_SELECT: return vehicleSelect.get();
    case STATE_VEHICLE_PURCHASE: return vehiclePurchase.get();
    case STATE_REPLAY: return replay.get();
    default: return nullptr;
    }
}

void CPhysicsManager::SwitchTo(int state) {
    current->leave();
    if (CPhysics* selected = PhysicsFor(state))
        current = selected;
    current->enter();
}
