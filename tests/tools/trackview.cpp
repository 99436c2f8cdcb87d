// Draws the start view of tracks FIRST..LAST (from 1) as the race sees it (sky, sun, ambient and point lights,
// fog, the point-light shaders) into OUT_PREFIX<n>.ppm, from the game's bin folder:
//   trackview OUT_PREFIX FIRST LAST [off]
// With "off", as the race draws it with "Shadows and lighting" off: no lamps, fixed-function lighting.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "data/trackscript.h"
#include "race/gamerenderer.h"
#include "race/headless.h"
#include "scene/milkshape.h"
#include "scene/rendermodel.h"
#include "scene/texturemanager.h"
#include "scene/transformation.h"
#include "sceneview.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

bool DrawTrack(int track, const std::string& out, ShaderProgram& plain, ShaderProgram& fogged, bool lightingOff) {
    LoadTrackSettings(TrackScriptPath(track - 1).c_str(), gTrackSettings);
    const TrackSettings& s = gTrackSettings;
    TextureManager textures;
    CCamera camera(&textures);
    PlaceAtRaceStart(camera, s);
    CMilkshapeModel trackModel, skyModel;
    if (!trackModel.Load(s.trackModel) || !skyModel.Load(s.skyModel))
        return false;
    RenderModel render(&textures, &camera, &trackModel, MODEL_CULL_BY_DISTANCE);
    SkyModel sky(&textures, &skyModel);
    SetUpRaceLighting();
    const float fog[4] = {s.fogColor[0], s.fogColor[1], s.fogColor[2], 0.0f};
    const float clear = s.fogEnabled ? 1.0f : 0.0f;
    glClearColor(fog[0] * clear, fog[1] * clear, fog[2] * clear, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The sky as the race draws it, turning with the view only.
    glLoadIdentity();
    camera.ApplyRotation();
    sky.Draw();
    glLoadIdentity();
    camera.Apply();
    if (s.hasSun) {
        const float sun[4] = {s.sun.position[0] * 2000, s.sun.position[1] * 2000, s.sun.position[2] * 2000, 0};
        glLightfv(GL_LIGHT0, GL_POSITION, sun);
    }
    ShaderProgram& program = s.fogEnabled ? fogged : plain;
    glUseProgram(program.id);
    // The sun lights the lit view as a race's unshadowed ground sees it.
    glUniform1f(glGetUniformLocation(program.id, "lightZero"), s.hasSun ? 1.0f : 0.0f);
    if (s.fogEnabled) {
        glFogi(GL_FOG_MODE, GL_EXP2);
        glFogfv(GL_FOG_COLOR, fog);
        glFogf(GL_FOG_DENSITY, s.fogDensity);
        glUniform4fv(glGetUniformLocation(program.id, "fogColor"), 1, fog);
        glUniform1f(glGetUniformLocation(program.id, "fogDensity"), s.fogDensity);
        glEnable(GL_FOG);
    }
    // With lighting off the race lights by fixed function, without a program.
    if (lightingOff)
        glUseProgram(0);
    render.Draw(DRAW_ALL);
    glDisable(GL_FOG);
    glUseProgram(0);
    return WritePpm(out.c_str(), kWidth, kHeight);
}

}  // namespace

int main(int argc, char** argv) {
    const bool lightingOff = argc == 5 && std::string(argv[4]) == "off";
    if ((argc != 4 && !lightingOff) || !OpenSceneWindow(argc, argv, kWidth, kHeight, "Track view"))
        return 2;
    gSettings = DefaultSettings();
    gSettings.shadows = !lightingOff;  // without it a model gives its groups no lamps

    ShaderProgram plain("PointLight"), fogged("PointLightFog");
    if (!LinkPointLight(plain, "MultiPointLight.frag") || !LinkPointLight(fogged, "MultiPointLightFog.frag"))
        return 1;

    BeginSceneView(kWidth, kHeight);
    for (int t = atoi(argv[2]); t <= atoi(argv[3]); t++)
        if (!DrawTrack(t, std::string(argv[1]) + std::to_string(t) + ".ppm", plain, fogged, lightingOff))
            return 1;
    return 0;
}
