#pragma once

#include <memory>

#include "app/states.h"
#include "race/vehicle.h"

class TextureManager;
class CLoadPhysics;
class CLoadRenderer;
class CGamePhysics;
class CGameRenderer;
class CTrophyDisplay;
class CMenuRenderer;

// Owns every drawing object and the texture manager; lives from the first frame to shutdown.
class CRendererManager {
public:
    CRendererManager();
    ~CRendererManager();

    // Selects the drawing object for `state` and drives the race timer (12 clears, 13 starts/resumes, 14/15
    // stop).
    // Call before copying the new id into currentState: currentState still names the previous state.
    void SwitchTo(int state);
    CRenderer* RendererFor(int state) const;

    int currentState = STATE_LOADING;
    CRenderer* current = nullptr;  // one of those below
    // Released in the reverse order: the texture manager last, as the renderers' models hold its texture names.
    std::unique_ptr<TextureManager> textures;
    std::unique_ptr<CRenderer> vehicleSelect;
    std::unique_ptr<CRenderer> trackSelect;
    std::unique_ptr<CRenderer> profileMenu;
    std::unique_ptr<CLoadRenderer> load;
    std::unique_ptr<CMenuRenderer> menu;
    std::unique_ptr<CTrophyDisplay> trophy;  // shared by the results panel and the track selection
    std::unique_ptr<CGameRenderer> game;
};

// Owns every update object; lives from the first frame to shutdown.
class CPhysicsManager {
public:
    CPhysicsManager();
    ~CPhysicsManager();

    // leave on the current object, select the one for `state` (unchanged for an unknown id), enter on it.
    void SwitchTo(int state);
    CPhysics* PhysicsFor(int state) const;

    int currentState = STATE_LOADING;
    VehicleDynamics dynamics[kNumVehicles];  // one per vehicle, in vehicle order
    CPhysics* current = nullptr;  // one of those below
    std::unique_ptr<CLoadPhysics> load;
    std::unique_ptr<CPhysics> menu;
    std::unique_ptr<CGamePhysics> game;
    std::unique_ptr<CPhysics> countdown;
    std::unique_ptr<CPhysics> sequence;  // game intro, race fly-over and ending
    std::unique_ptr<CPhysics> videoSettings;
    std::unique_ptr<CPhysics> audioSettings;
    std::unique_ptr<CPhysics> controlSettings;
    std::unique_ptr<CPhysics> newProfile;
    std::unique_ptr<CPhysics> profileMenu;
    std::unique_ptr<CPhysics> trackSelect;
    std::unique_ptr<CPhysics> loadProfile;
    std::unique_ptr<CPhysics> raceCompleted;
    std::unique_ptr<CPhysics> ingameMenu;
    std::unique_ptr<CPhysics> vehicleSelect;
    std::unique_ptr<CPhysics> vehiclePurchase;
    std::unique_ptr<CPhysics> replay;
};

extern CRendererManager* gRendererManager;
extern CPhysicsManager* gPhysicsManager;
