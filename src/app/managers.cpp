#include "app/managers.h"

#include <initializer_list>

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
    textures = new TextureManager();
    load = new CLoadRenderer();
    current = load;
    game = new CGameRenderer(textures);
    trophy = new CTrophyDisplay(textures, &game->camera);
    menu = new CMenuRenderer(textures);
    profileMenu = new CProfileMenuRenderer(textures);
    trackSelect = new CTrackSelectMenuRenderer(textures, trophy);
    vehicleSelect = new CVehicleSelectMenuRenderer(textures);
    load->init();
    game->init();
    profileMenu->init();
    trackSelect->init();
    vehicleSelect->init();
    game->trophy = trophy;
}

CRendererManager::~CRendererManager() {
    delete game;
    delete trophy;
    delete menu;
    delete load;
    delete profileMenu;
    delete trackSelect;
    delete vehicleSelect;
    delete textures;  // after the renderers, whose models hold its texture names
    current = nullptr;
    UnregisterPrivateFont();
}

CRenderer* CRendererManager::RendererFor(int state) const {
    switch (state) {
    case STATE_LOADING: return load;
    case STATE_MAIN_MENU: return menu;
    case STATE_PROFILE_MENU: return profileMenu;
    case STATE_TRACK_SELECT: return trackSelect;
    case STATE_VEHICLE_SELECT:
    case STATE_VEHICLE_PURCHASE: return vehicleSelect;
    case STATE_GAME_INTRO:
    case STATE_RACE_INTRO:
    case STATE_COUNTDOWN:
    case STATE_RACE:
    case STATE_INGAME_MENU:
    case STATE_RACE_COMPLETED:
    case STATE_REPLAY:
    case STATE_GAME_OUTRO: return game;
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
    LoadVehicles(gRendererManager ? gRendererManager->textures : nullptr, camera);
    for (int i = 0; i < kNumVehicles; ++i)
        dynamics[i] = MakeDynamics(gVehicles[i]);
    auto make = [](CPhysics* p) {
        p->create();
        return p;
    };
    load = new CLoadPhysics();
    load->create();
    menu = make(new CMenuPhysics());
    game = new CGamePhysics(camera, &dynamics[SelectedVehicleIndex()]);  // its create is never called
    auto* counter = new CCountdownPhysics();
    counter->race = game;
    countdown = make(counter);
    auto* scripted = new CRaceIntroAnimationPhysics(camera);
    scripted->dynamics = &dynamics[0];  // the sequences always fly the first vehicle
    sequence = make(scripted);
    videoSettings = make(new CVideoSettingsPhysics());
    audioSettings = make(new CAudioSettingsPhysics());
    controlSettings = make(new CControlSettingsPhysics());
    newProfile = make(new CNewProfilePhysics());
    profileMenu = make(new CProfileMenuPhysics());
    trackSelect = make(new CTrackSelectMenuPhysics());
    loadProfile = make(new CLoadProfileMenuPhysics());
    auto* results = new CRaceCompletedPhysics();
    results->race = game;
    raceCompleted = make(results);
    ingameMenu = make(new CIngameMenuPhysics());
    vehicleSelect = make(new CVehicleSelectMenuPhysics());
    vehiclePurchase = make(new CVehiclePurchaseMenuPhysics());
    auto* viewer = new CReplayPhysics();
    viewer->race = game;
    replay = make(viewer);
    current = load;
    current->enter();
}

CPhysicsManager::~CPhysicsManager() {
    for (CPhysics* p : {static_cast<CPhysics*>(load), menu, static_cast<CPhysics*>(game), countdown, sequence,
                        videoSettings, audioSettings, controlSettings, newProfile, profileMenu, trackSelect,
                        loadProfile, raceCompleted, ingameMenu, vehicleSelect, vehiclePurchase, replay})
        delete p;
    ReleaseVehicles();
}

CPhysics* CPhysicsManager::PhysicsFor(int state) const {
    switch (state) {
    case STATE_LOADING: return load;
    case STATE_GAME_INTRO:
    case STATE_RACE_INTRO:
    case STATE_GAME_OUTRO: return sequence;
    case STATE_MAIN_MENU: return menu;
    case STATE_LOAD_PROFILE: return loadProfile;
    case STATE_VIDEO_SETTINGS: return videoSettings;
    case STATE_AUDIO_SETTINGS: return audioSettings;
    case STATE_CONTROL_SETTINGS: return controlSettings;
    case STATE_NEW_PROFILE: return newProfile;
    case STATE_PROFILE_MENU: return profileMenu;
    case STATE_TRACK_SELECT: return trackSelect;
    case STATE_COUNTDOWN: return countdown;
    case STATE_RACE: return game;
    case STATE_INGAME_MENU: return ingameMenu;
    case STATE_RACE_COMPLETED: return raceCompleted;
    case STATE_VEHICLE_SELECT: return vehicleSelect;
    case STATE_VEHICLE_PURCHASE: return vehiclePurchase;
    case STATE_REPLAY: return replay;
    default: return nullptr;
    }
}

void CPhysicsManager::SwitchTo(int state) {
    current->leave();
    if (CPhysics* selected = PhysicsFor(state))
        current = selected;
    current->enter();
}
