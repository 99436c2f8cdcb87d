#pragma once

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

    TextureManager* textures = nullptr;
    int currentState = STATE_LOADING;
    CRenderer* current = nullptr;
    CLoadRenderer* load = nullptr;
    CGameRenderer* game = nullptr;
    CTrophyDisplay* trophy = nullptr;  // shared by the results panel and the track selection
    CMenuRenderer* menu = nullptr;
    CRenderer* profileMenu = nullptr;
    CRenderer* trackSelect = nullptr;
    CRenderer* vehicleSelect = nullptr;
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
    CPhysics* current = nullptr;
    CLoadPhysics* load = nullptr;
    CPhysics* menu = nullptr;
    CGamePhysics* game = nullptr;
    CPhysics* countdown = nullptr;
    CPhysics* sequence = nullptr;  // game intro, race fly-over and ending
    CPhysics* videoSettings = nullptr;
    CPhysics* audioSettings = nullptr;
    CPhysics* controlSettings = nullptr;
    CPhysics* newProfile = nullptr;
    CPhysics* profileMenu = nullptr;
    CPhysics* trackSelect = nullptr;
    CPhysics* loadProfile = nullptr;
    CPhysics* raceCompleted = nullptr;
    CPhysics* ingameMenu = nullptr;
    CPhysics* vehicleSelect = nullptr;
    CPhysics* vehiclePurchase = nullptr;
    CPhysics* replay = nullptr;
};

extern CRendererManager* gRendererManager;
extern CPhysicsManager* gPhysicsManager;
