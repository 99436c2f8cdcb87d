#pragma once

// The fixed-function state of the game's passes, set in one place. Each Begin saves what it changes and its End
// puts it back, so a screen leaves GL as it found it and never draws on what another screen left behind.

// Pixel coordinates from the window's lower-left corner (size from the settings); the model-view matrix is left
// current. Every Begin2D is paired with one End2D in the same drawing pass.
void Begin2D();
void End2D();

// Flat passes draw in the coordinates of Begin2D with no depth test, lighting or culling, and no shader program:
// the game binds one only for the length of a model draw.
enum FlatPass {
    FLAT_SHAPES,   // boxes, lines and text, blended by their alpha, untextured
    FLAT_SOLID,    // boxes, lines and text, unblended and untextured
    FLAT_PICTURE,  // textured quads in white, unblended
    FLAT_CUTOUT,   // as FLAT_PICTURE, leaving out the texels of alpha 0
    FLAT_GLOW,     // textured quads added onto the frame
};
void BeginFlat(FlatPass pass);
void EndFlat();

// Model passes: texturing, lighting, depth test (less), back faces culled, blending off and the vertex, normal and
// texture-coordinate arrays on. The lights, the matrices and the program are the caller's.
void BeginModelPass();
void EndModelPass();

// Clears colour (to the clear colour), depth and stencil, inside the scissor box when scissoring.
void ClearFrame();

// A model view from eye to at, y up, turned by `turn` degrees about y, until EndLookAt.
void BeginLookAt(const double eye[3], const double at[3], float turn);
void EndLookAt();
// The settings' perspective in the window rectangle (x, y, width, height), cleared to black and the only part
// drawn on until EndPreview.
void BeginPreview(int x, int y, int width, int height);
void EndPreview();

// Light 0 and the ambient light of the scene; lighting and light 0 on.
struct LightZero {
    float sceneAmbient[4];
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float position[4];  // w 0: a direction
    float linearAttenuation;
};
void SetLightZero(const LightZero& light);
