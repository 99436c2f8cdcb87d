#include "race/gamerenderer.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <algorithm>
#include <initializer_list>

#include "app/log.h"
#include "data/profile.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "hud/bitmapfont.h"
#include "hud/hud.h"
#include "lighting/stenciltechnique.h"
#include "race/gamephysics.h"
#include "race/ghost.h"
#include "race/overlays.h"
#include "race/raceflow.h"
#include "race/replay.h"
#include "race/recording.h"
#include "race/splits.h"
#include "race/vehicle.h"
#include "scene/glstate.h"
#include "scene/milkshape.h"
#include "scene/rendermodel.h"
#include "scene/texturemanager.h"

CTransformation gVehicleTransform;

namespace {

// Directional lights sit this far out along their direction.
constexpr float kSunDistance = 2000.0f;
constexpr int kBold = 700;
constexpr int kNormalWeight = 400;

void SetLight(GLenum light, GLenum what, float r, float g, float b, float a) {
    const GLfloat v[4] = {r, g, b, a};
    glLightfv(light, what, v);
}

// Light 0 is the sun: a directional light from the sun's position. Set under the camera's transform, so it
// stays fixed in the world while the view turns.
void PlaceSun() {
    const TrackSettings& t = gTrackSettings;
    if (t.hasSun)
        SetLight(GL_LIGHT0, GL_POSITION, kSunDistance * t.sun.position[0], kSunDistance * t.sun.position[1],
                 kSunDistance * t.sun.position[2], 0.0f);
    else
        SetLight(GL_LIGHT0, GL_POSITION, 0.0f, 20000.0f, 0.0f, 0.0f);
}

}  // namespace

bool IsSequenceState(int state) {
    return state == STATE_GAME_INTRO || state == STATE_RACE_INTRO || state == STATE_GAME_OUTRO;
}

bool ShowsRaceHud(int state) {
    return !IsSequenceState(state) && state != STATE_REPLAY;
}

RenderModel* CGameRenderer::ShownVehicle(CTransformation& pose) const {
    if (IsSequenceState(gRequestedState)) {
        pose = gVehicleTransform;
        return vehicleRender;
    }
    if (gRequestedState != STATE_REPLAY || !ReplayShowsVehicle(gReplay))
        return nullptr;
    const RecordingSample s = gReplay.PoseAt(gReplay.clock);
    pose.SetPosition(s.x, s.y, s.z);
    pose.SetYaw(s.yaw);
    pose.SetPitch(s.pitch);
    pose.SetRoll(s.roll);
    return gVehicles[gReplay.vehicle].renderObject;
}

CGameRenderer::CGameRenderer(TextureManager* textures) : CRenderer(textures), camera(textures) {}

CGameRenderer::~CGameRenderer() {
    // The render objects refer to the models, so they go first.
    stencil.reset();
    trackRender.reset();
    sky.reset();
    skyModel.reset();
    gTrackModel.Clear();
    camera.ReleaseLensFlare();
    program.reset();
    if (vertexShader.id)
        glDeleteShader(vertexShader.id);
    for (int slots = 0; slots <= 4; ++slots)
        for (const ShaderObject& s : {fragmentShaders[slots], fogFragmentShaders[slots]})
            if (s.id)
                glDeleteShader(s.id);
}

void CGameRenderer::init() {
    if (gSettings.shadows) {
        if (gShadowTechnique == 0)
            stencil = std::make_unique<CZFailStencilTechnique>(&camera);
        else if (gShadowTechnique == 1)
            stencil = std::make_unique<CZPPlusStencilTechnique>(&camera);
    }
    vertexShader = LoadShader("MultiPointLight.vert");
    program = std::make_unique<ShaderProgram>("PointLight");
    for (int slots = 0; slots <= 4; ++slots) {
        fragmentShaders[slots] = LoadShader("MultiPointLight.frag", LampSlotDefines(slots));
        fogFragmentShaders[slots] = LoadShader("MultiPointLightFog.frag", LampSlotDefines(slots));
    }
    program->Attach(&vertexShader);

    const int h = gSettings.screenHeight;
    fontSmallCourier = MakeFont(L"Courier New", h * 28 / 480, kBold, 1.0f, 1.0f, 1.0f);
    fontTitle = MakeFont(L"Arial", h * 36 / 480, kBold, 0.3f, 0.3f, 0.7f);
    fontCountdown = MakeFont(L"Beware", 100, kBold, 0.5f, 0.5f, 0.85f);
    fontPaused = MakeFont(L"Arial", 64, kBold, 0.3f, 0.3f, 0.7f);
    fontMenu = MakeFont(L"Arial", 40, kBold, 0.3f, 0.3f, 0.7f);
    fontTiny = MakeFont(L"Arial", 12, kNormalWeight, 1.0f, 1.0f, 1.0f);
    fontHint = MakeFont(L"Arial", h * 16 / 480, kBold, 0.7f, 0.7f, 1.0f);
}

bool CGameRenderer::LoadRace(const char* script, const char* hudScript) {
    if (textures)
        textures->UnloadTemporary();
    ShowLoadingProgress(0);
    trackRender.reset();
    sky.reset();
    skyModel.reset();
    gTrackModel.Clear();

    LoadTrackSettings(script, gTrackSettings);
    camera.Reset();
    camera.EnsureLensFlare();
    ShowLoadingProgress(10);
    if (gTrackSettings.skyModel[0]) {
        skyModel = std::make_unique<CMilkshapeModel>();
        skyModel->Load(gTrackSettings.skyModel);
        sky = std::make_unique<SkyModel>(textures, skyModel.get());
    }
    ShowLoadingProgress(12);
    gTrackModel.Load(gTrackSettings.trackModel);
    ShowLoadingProgress(35);
    const unsigned shadows = gSettings.shadows ? MODEL_STATIC_SHADOWS : 0;
    trackRender = std::make_unique<RenderModel>(textures, &camera, &gTrackModel, MODEL_CULL_BY_DISTANCE | shadows);
    ShowLoadingProgress(60);
    if (hudScript && gStateAfterLoading != STATE_GAME_INTRO && gStateAfterLoading != STATE_GAME_OUTRO) {
        if (!hud)
            hud = std::make_unique<CHud>(&camera);
        hud->LoadScript(hudScript);
        StartRivals(gProfile.name, gSelectedTrack, gProfile.bestTimes[gSelectedTrack], gTrackSettings);
    }
    if (gTrackModel.triangles.empty())
        Log("Race %s has an empty track model", script);
    return !gTrackModel.triangles.empty();
}

// The race clock belongs to the HUD.
void CGameRenderer::ResetRaceTimer() {
    if (hud)
        hud->ResetTimer();
}

void CGameRenderer::StartRaceTimer(bool resume) {
    if (hud)
        hud->StartTimer(resume);
}

void CGameRenderer::StopRaceTimer() {
    if (hud)
        hud->StopTimer();
}

void CGameRenderer::DrawHud() {
    if (hud)
        hud->Draw();
}

void SetUpRaceLighting() {
    const TrackSettings& t = gTrackSettings;
    const GLfloat ambient[4] = {t.ambientColor[0], t.ambientColor[1], t.ambientColor[2], 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_FALSE);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    if (t.hasSun) {
        SetLight(GL_LIGHT0, GL_AMBIENT, kSunAmbient, kSunAmbient, kSunAmbient, 1.0f);
        SetLight(GL_LIGHT0, GL_DIFFUSE, 0.8f, 0.8f, 0.8f, 1.0f);
        SetLight(GL_LIGHT0, GL_SPECULAR, 0.5f, 0.5f, 0.5f, 1.0f);
    } else {
        SetLight(GL_LIGHT0, GL_AMBIENT, 0.0f, 0.0f, 0.0f, 1.0f);
        SetLight(GL_LIGHT0, GL_DIFFUSE, 0.22f, 0.22f, 0.22f, 1.0f);
        SetLight(GL_LIGHT0, GL_SPECULAR, 0.15f, 0.15f, 0.15f, 1.0f);
    }
    PlaceSun();
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 1.0f);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.0f);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.0f);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    if (t.hasSun)
        glEnable(GL_LIGHT0);
    else
        glDisable(GL_LIGHT0);  // a sun of the previous race must not light this one
}

void CGameRenderer::SetUpFog() {
    const TrackSettings& t = gTrackSettings;
    const int slots = PointLightSlots();
    if (!t.fogEnabled) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        program->Attach(&fragmentShaders[slots]);
        program->Link();
        lit = LitProgram();
        lit.Locate(program->id);
        return;
    }
    const GLfloat color[4] = {t.fogColor[0], t.fogColor[1], t.fogColor[2], 1.0f};
    glClearColor(color[0], color[1], color[2], 0.0f);
    glFogi(GL_FOG_MODE, GL_EXP2);
    glFogfv(GL_FOG_COLOR, color);
    glFogf(GL_FOG_DENSITY, t.fogDensity);
    glHint(GL_FOG_HINT, GL_NICEST);
    glDisable(GL_FOG);
    if (gSettings.shadows && gRequestedState != STATE_GAME_OUTRO) {
        program->Attach(&fogFragmentShaders[slots]);
        program->Link();
        lit.Locate(program->id);
        std::copy(color, color + 4, lit.fog);
        glUseProgram(program->id);
        glUniform4fv(glGetUniformLocation(program->id, "fogColor"), 1, color);
        glUniform1f(glGetUniformLocation(program->id, "fogDensity"), t.fogDensity);
        glUseProgram(0);
    }
}

void CGameRenderer::enter() {
    const VehicleDefinition& vehicle = SelectedVehicleDefinition();
    vehicleModel = vehicle.model;
    vehicleRender = vehicle.renderObject;

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(gSettings.fieldOfView, gSettings.aspectRatio, gSettings.nearPlane, gSettings.farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    SetUpRaceLighting();
    if (stencil && gRequestedState != STATE_GAME_OUTRO) {
        stencil->Init();
        stencil->ClearCasters();
        if (trackRender)
            stencil->AddCaster(trackRender.get());
        gTwoSidedStencil = glewIsSupported("GL_EXT_stencil_two_side");
    }
    program->DetachFragmentShaders();
    SetUpFog();
    for (GLenum light = GL_LIGHT1; light <= GL_LIGHT4; ++light)
        SetLight(light, GL_DIFFUSE, 0.0f, 0.0f, 0.0f, 1.0f);
}

void CGameRenderer::leave() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

void CGameRenderer::draw() {
    // The ghost flies by this frame's race clock and the run is recorded by it, so it is brought up to now
    // before the world is drawn.
    if (hud && ShowsRaceHud(gRequestedState)) {
        hud->TickTimer();
        FollowGhost(gGhost, gRequestedState, RaceSeconds(), camera);
        FollowSplits(gSplits, gRequestedState, PoseOfCamera(camera, RaceSeconds()));
    }
    BeginModelPass();
    // Without a technique (an unknown gShadowTechnique) the frame goes without shadows.
    if (stencil && gRequestedState != STATE_GAME_OUTRO) {
        stencil->Init();
        DrawShadowedFrame();
    } else {
        DrawPlainFrame();
    }
    EndModelPass();
}

void CGameRenderer::DrawSky() {
    // The sky turns with the view but never comes nearer.
    glPushMatrix();
    glLoadIdentity();
    camera.ApplyRotation();
    if (sky)
        sky->Draw();
    glPopMatrix();
}

void CGameRenderer::DrawPlainFrame() {
    const bool fog = gTrackSettings.fogEnabled;
    // The stencil goes too, though this frame never reads it: depth and stencil share one buffer, and a
    // clear of both is a plain fill where depth alone has to keep every pixel's stencil bits.
    ClearFrame();

    // The sequences and the replay viewer show the vehicle.
    CTransformation vehiclePose;
    RenderModel* vehicle = ShownVehicle(vehiclePose);
    glPushMatrix();
    camera.Apply();
    PlaceSun();
    // The opaque scenery, the sky behind it, then what is translucent over both; the vehicle is not fogged.
    for (bool opaque : {true, false}) {
        if (!opaque)
            DrawSky();
        if (vehicle) {
            glPushMatrix();
            vehiclePose.Apply();
            vehicle->Draw(opaque ? DRAW_OPAQUE : DRAW_TRANSLUCENT);
            glPopMatrix();
        }
        if (fog)
            glEnable(GL_FOG);
        if (trackRender)
            trackRender->Draw(opaque ? DRAW_OPAQUE : DRAW_TRANSLUCENT);
        if (!opaque)
            DrawGhost(gGhost, gRequestedState, camera);
        glDisable(GL_FOG);
    }
    camera.UpdateLensFlare();
    if (vehicle) {
        glDepthMask(GL_TRUE);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    glPopMatrix();
    if (ShowsRaceHud(gRequestedState))
        DrawHud();
    DrawOverlay(*this);
    glutSwapBuffers();
}
