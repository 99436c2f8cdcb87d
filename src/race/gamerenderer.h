#pragma once

#include <memory>

#include "app/states.h"
#include "scene/transformation.h"

class CMilkshapeModel;

// The pose of the vehicle model in the scripted sequences (the camera is separate).
extern CTransformation gVehicleTransform;

// Draws every state that shows the 3D world; loads what a race needs. Until the model renderer is in, the
// frame is the track's fog colour.
class CGameRenderer : public CRenderer {
public:
    explicit CGameRenderer(TextureManager* textures);
    ~CGameRenderer() override;

    void draw() override;
    void init() override {}
    void enter() override {}
    void leave() override {}

    // Drops the previous race's data, reads the script into gTrackSettings and loads the sky and track
    // models. Loading progress goes 0, 10, 12, 35, 60.
    bool LoadRace(const char* script, const char* hud);
    void StartRaceTimer(bool resume);
    void StopRaceTimer();

    CCamera camera;  // the race camera; the race logic moves it
    std::unique_ptr<CMilkshapeModel> skyModel;
};

// The scripted sequences draw the vehicle model and no HUD.
bool IsSequenceState(int state);
