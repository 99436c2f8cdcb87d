#pragma once

#include <cstdint>
#include <vector>

class TextureManager;

// One square of the flare. kind 0..5 picks flareTextures[kind]; kShineKind picks the next shine texture.
struct FlareElement {
    float r, g, b;
    int32_t kind;
    uint32_t size;  // half the side, in 1/1024ths of the screen width
    float loc;      // along the flare axis: 0 at the sun, 1 at the axis end
};

// A square ready to draw, in window pixels.
struct FlareQuad {
    float x, y, half;
    float r, g, b;
    uint32_t texture;
};

// Additive screen-space squares along a line through the sun's screen position, drawn when the point
// towards the sun is not hidden behind scenery. Owned by the race camera of a track with a sun.
class LensFlare {
public:
    static constexpr int kNumElements = 12;
    static constexpr int kNumFlareTextures = 6;
    static constexpr int kNumShineTextures = 10;
    static constexpr int32_t kShineKind = 6;

    // Without a texture manager (tests) the squares are laid out but no texture is loaded.
    explicit LensFlare(TextureManager* textureManager);
    LensFlare(const LensFlare&) = delete;
    LensFlare& operator=(const LensFlare&) = delete;

    // Draws the flare for a camera at position, direction being the camera's GetDirection, unless occluded.
    void Update(const float position[3], const float direction[3]);
    bool IsOccluded(const float point[3]) const;

    // The squares for the matrices saved at the start of the frame, sun being the sun's direction; advances
    // shineIndex once per shine element. Squares whose centre lies behind the eye are left out.
    std::vector<FlareQuad> Layout(const float position[3], const float direction[3], const float sun[3],
                                  int screenWidth);
    // Window coordinates of a world point under the saved matrices (as gluProject); false behind the eye.
    bool Project(const float point[3], double window[3]) const;

    FlareElement elements[kNumElements];
    uint32_t flareTextures[kNumFlareTextures] = {};
    uint32_t shineTextures[kNumShineTextures] = {};
    int32_t shineIndex = 0;
    int viewport[4] = {};
    double modelView[16] = {};
    double projection[16] = {};
    float sunPoint[3] = {};
    float axis[3] = {};
    float axisLength = 0.0f;
    TextureManager* textureManager;  // not owned

private:
    void Draw(const std::vector<FlareQuad>& quads) const;
};
