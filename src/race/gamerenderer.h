#pragma once

#include <memory>

#include "app/states.h"
#include "lighting/shader.h"
#include "scene/transformation.h"

class CBitmapFont;
class CHud;
class CMilkshapeModel;
class CTrophyDisplay;
class CStencilTechnique;
class RenderModel;
class SkyModel;
struct SceneLight;

// The pose of the vehicle model in the scripted sequences (the camera is separate).
extern CTransformation gVehicleTransform;

// Draws every state that shows the 3D world: the scripted sequences, the countdown, the race, the pause
// menu and the results. Loads what a race needs.
class CGameRenderer : public CRenderer {
public:
    explicit CGameRenderer(TextureManager* textures);
    ~CGameRenderer() override;

    void draw() override;
    void init() override;
    void enter() override;
    void leave() override;

    // Drops the previous race's data, reads the script into gTrackSettings and loads the sky and track
    // models; a track race (not the game intro or outro) also loads the HUD script. Loading progress goes
    // 0, 10, 12, 35, 60.
    bool LoadRace(const char* script, const char* hud);
    void StartRaceTimer(bool resume);
    void StopRaceTimer();

    CCamera camera;             // the race camera; the race logic moves it
    std::unique_ptr<CMilkshapeModel> skyModel;
    CMilkshapeModel* vehicleModel = nullptr;  // the selected vehicle's, not owned
    std::unique_ptr<SkyModel> sky;
    std::unique_ptr<RenderModel> trackRender;
    RenderModel* vehicleRender = nullptr;  // not owned
    ShaderObject vertexShader;
    ShaderObject fragmentShader;
    ShaderObject fogFragmentShader;
    std::unique_ptr<ShaderProgram> program;
    std::unique_ptr<CBitmapFont> fontSmallCourier;
    std::unique_ptr<CBitmapFont> fontTitle;
    std::unique_ptr<CBitmapFont> fontCountdown;
    std::unique_ptr<CBitmapFont> fontPaused;
    std::unique_ptr<CBitmapFont> fontMenu;
    std::unique_ptr<CBitmapFont> fontTiny;
    CTrophyDisplay* trophy = nullptr;  // shared with the track selection, not owned; drawn by the results
    std::unique_ptr<CStencilTechnique> stencil;  // only with the shadows setting on
    std::unique_ptr<CHud> hud;                   // made at the first track race

private:
    void DrawPlainFrame();
    void DrawSky();
    // Stencil shadows per shadow-casting light (shadowedframe.cpp).
    void DrawShadowedFrame();
    // The vehicle of a scripted sequence (whole), then the track with the passes asked for.
    void DrawWorld(bool opaque, bool transparent, bool includeA);
    void DrawHud();
    void SetUpFog();
};

// The scripted sequences draw the vehicle model and no HUD.
bool IsSequenceState(int state);

// The race's light model and light 0 (the sun, or a dim stand-in without one) for gTrackSettings.
void SetUpRaceLighting();
// Light 0 becomes the scene light of a lit pass, placed relative to the camera.
void SetupRaceLight(const SceneLight& light, const CCamera& camera);
