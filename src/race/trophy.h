#pragma once

#include <memory>

class CCamera;
class CMilkshapeModel;
class RenderModel;
class TextureManager;

// The trophy model with its gold, silver and bronze textures, shared by the results panel and the track
// selection; built once by the renderer manager and kept for the whole run.
class CTrophyDisplay {
public:
    CTrophyDisplay(TextureManager* textures, CCamera* viewer);
    ~CTrophyDisplay();
    CTrophyDisplay(const CTrophyDisplay&) = delete;
    CTrophyDisplay& operator=(const CTrophyDisplay&) = delete;

    // 3 gold, 2 silver, 1 bronze becomes the texture of the model's first material; other values change nothing.
    void SetTrophyMedal(int medal);
    // The track selection's view: its own projection and camera, turned by gTrophyAngle.
    void DrawTrophy();
    // Only the model, under the caller's matrices and state.
    void DrawModel();

private:
    TextureManager* textures;  // not owned
    std::unique_ptr<CMilkshapeModel> model;
    std::unique_ptr<RenderModel> render;  // null when the model could not be read
};
