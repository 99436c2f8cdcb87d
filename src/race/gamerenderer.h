#pragma once

#include <functional>
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

// The point-light program of the shaded passes and where its uniforms are.
struct LitProgram {
    unsigned id = 0;
    int lightZero = -1, lightZeroOnly = -1, fogColor = -1;  // -1: the program has no such uniform
    float fog[4] = {0.0f, 0.0f, 0.0f, 1.0f};                // the fog colour the program was given
    void Locate(unsigned program);
};

// The point-light fragment shaders' defines for a scene whose groups are given at most `slots` of lights 1
// to 4: the lamp loop stops there, as the rest stay dark (with none it is left out).
const char* LampSlotDefines(int slots);
// How many of lights 1 to 4 the groups of gTrackSettings's scene can be given: one a lamp (a point light that
// casts no shadow), four at most.
int PointLightSlots();

// The models of a frame's world, each handed to draw under its own transform.
using WorldModels = std::function<void(const std::function<void(RenderModel&)>& draw)>;

// The opaque world with stencil shadows, under the camera's transform: depth alone; the groups no
// shadow-casting light reaches; for the first such light its lit pass where its stencil is clear and the
// shadowed pass elsewhere, so each pixel is shaded once; each later light added where its stencil is clear.
// Without a technique every light lights everything. Light 0 is left on as the last such light.
void DrawShadowedWorld(const WorldModels& world, CStencilTechnique* stencil, const LitProgram& program,
                       const CCamera& camera);

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
    // models; given a HUD script, a track race (not the game intro or outro) also loads it and the chosen
    // ghost (the replay viewer gives none). Loading progress goes 0, 10, 12, 35, 60.
    bool LoadRace(const char* script, const char* hud);
    void ResetRaceTimer();
    void StartRaceTimer(bool resume);
    void StopRaceTimer();

    CCamera camera;             // the race camera; the race logic moves it
    std::unique_ptr<CMilkshapeModel> skyModel;
    CMilkshapeModel* vehicleModel = nullptr;  // the selected vehicle's, not owned
    std::unique_ptr<SkyModel> sky;
    std::unique_ptr<RenderModel> trackRender;
    RenderModel* vehicleRender = nullptr;  // not owned
    ShaderObject vertexShader;
    ShaderObject fragmentShaders[5];  // by the lamp slots they light, 0 to 4
    ShaderObject fogFragmentShaders[5];
    std::unique_ptr<ShaderProgram> program;
    LitProgram lit;  // the program's uniforms, found at each link
    std::unique_ptr<CBitmapFont> fontSmallCourier;
    std::unique_ptr<CBitmapFont> fontTitle;
    std::unique_ptr<CBitmapFont> fontCountdown;
    std::unique_ptr<CBitmapFont> fontPaused;
    std::unique_ptr<CBitmapFont> fontMenu;
    std::unique_ptr<CBitmapFont> fontTiny;
    std::unique_ptr<CBitmapFont> fontHint;  // key hints and the replay viewer's lines, sized by the window
    CTrophyDisplay* trophy = nullptr;  // shared with the track selection, not owned; drawn by the results
    std::unique_ptr<CStencilTechnique> stencil;  // only with the shadows setting on
    std::unique_ptr<CHud> hud;                   // made at the first track race

private:
    // The vehicle model drawn in the world this frame, posed by pose; null when none is.
    RenderModel* ShownVehicle(CTransformation& pose) const;
    void DrawPlainFrame();
    void DrawSky();
    // Stencil shadows per shadow-casting light (shadowedframe.cpp).
    void DrawShadowedFrame();
    // The vehicle of a scripted sequence, then the track, each under its own transform.
    void ForEachModel(const std::function<void(RenderModel&)>& draw);
    // Every model of the world, the layers asked for (DRAW_OPAQUE, DRAW_TRANSLUCENT).
    void DrawWorld(unsigned layers);
    void DrawHud();
    void SetUpFog();
};

// The scripted sequences draw the vehicle model and no HUD.
bool IsSequenceState(int state);
// The states that show the race HUD over the world.
bool ShowsRaceHud(int state);

// The sun's own ambient light, grey; no other light brings any.
constexpr float kSunAmbient = 0.2f;
// The race's light model and light 0 (the sun, or a dim stand-in without one) for gTrackSettings.
void SetUpRaceLighting();
// Light 0 becomes the scene light of a lit pass, placed relative to the camera.
void SetupRaceLight(const SceneLight& light, const CCamera& camera);
