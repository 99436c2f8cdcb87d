#include "lighting/lensflare.h"

#include <GL/glew.h>

#include <cmath>
#include <cstdio>

#include "data/settings.h"
#include "data/trackscript.h"
#include "hud/draw2d.h"
#include "scene/glstate.h"
#include "scene/texturemanager.h"

namespace {

const FlareElement kElementTable[LensFlare::kNumElements] = {
    {1.0f, 0.0f, 0.0f, 6, 128, 0.0f},  {0.0f, 1.0f, 0.0f, 6, 96, 0.0f},   {0.0f, 0.0f, 1.0f, 6, 112, 0.0f},
    {0.6f, 0.0f, 0.0f, 2, 32, 0.1f},   {0.4f, 0.0f, 0.0f, 3, 48, 0.14f},  {0.3f, 0.0f, 0.0f, 1, 96, 0.2f},
    {0.3f, 0.0f, 0.0f, 3, 26, 0.25f},  {0.3f, 0.0f, 0.0f, 0, 24, 0.29f},  {0.5f, 0.0f, 0.0f, 5, 34, -0.1f},
    {0.6f, 0.0f, 0.0f, 5, 16, -0.2f},  {0.4f, 0.0f, 0.0f, 5, 32, -0.3f},  {0.2f, 0.0f, 0.0f, 5, 28, -0.4f},
};

float Length3(const float v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

}  // namespace

LensFlare::LensFlare(TextureManager* textureManager) : textureManager(textureManager) {
    for (int i = 0; i < kNumElements; ++i) elements[i] = kElementTable[i];
    if (!textureManager) return;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    char path[64];
    for (int k = 0; k < kNumShineTextures; ++k) {
        snprintf(path, sizeof path, "..\\Textures\\Shine%d.bw", k);
        shineTextures[k] = textureManager->LoadRaw(path);
    }
    for (int k = 0; k < kNumFlareTextures; ++k) {
        snprintf(path, sizeof path, "..\\Textures\\Flare%d.bw", k + 1);
        flareTextures[k] = textureManager->LoadRaw(path);
    }
}

bool LensFlare::Project(const float point[3], double window[3]) const {
    const double in[4] = {point[0], point[1], point[2], 1.0};
    double eye[4], clip[4];
    for (int r = 0; r < 4; ++r)
        eye[r] = modelView[r] * in[0] + modelView[4 + r] * in[1] + modelView[8 + r] * in[2] + modelView[12 + r] * in[3];
    for (int r = 0; r < 4; ++r)
        clip[r] = projection[r] * eye[0] + projection[4 + r] * eye[1] + projection[8 + r] * eye[2] +
                  projection[12 + r] * eye[3];
    if (!(clip[3] > 0.0)) return false;
    window[0] = viewport[0] + viewport[2] * (clip[0] / clip[3] + 1.0) * 0.5;
    window[1] = viewport[1] + viewport[3] * (clip[1] / clip[3] + 1.0) * 0.5;
    window[2] = (clip[2] / clip[3] + 1.0) * 0.5;
    return true;
}

bool LensFlare::IsOccluded(const float point[3]) const {
    double w[3];
    // Behind the eye or off screen there is no sun to see, and no pixel may be read outside the window.
    if (!Project(point, w)) return true;
    const int px = static_cast<int>(w[0]);
    const int py = static_cast<int>(w[1]);
    if (w[0] < viewport[0] || w[1] < viewport[1] || px >= viewport[0] + viewport[2] || py >= viewport[1] + viewport[3])
        return true;
    GLfloat depth = 1.0f;
    glReadPixels(px, py, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    // Nearer than the near plane nothing can hide it; beyond the far plane only scenery in front can.
    const double z = w[2] < 0.0 ? 0.0 : (w[2] > 1.0 ? 1.0 : w[2]);
    return depth < z;
}

std::vector<FlareQuad> LensFlare::Layout(const float position[3], const float direction[3], const float sun[3],
                                         int screenWidth) {
    const float d = Length3(sun);
    float target[3];
    for (int i = 0; i < 3; ++i) {
        sunPoint[i] = position[i] + sun[i];
        target[i] = position[i] + d * direction[i];
        axis[i] = target[i] - sunPoint[i];
    }
    axisLength = Length3(axis);
    if (axisLength > 0.0f)
        for (float& a : axis) a /= axisLength;
    std::vector<FlareQuad> quads;
    quads.reserve(kNumElements);
    for (const FlareElement& e : elements) {
        uint32_t texture;
        if (e.kind == kShineKind) {
            texture = shineTextures[shineIndex];
            shineIndex = (shineIndex + 1) % kNumShineTextures;
        } else {
            texture = flareTextures[e.kind];
        }
        float p[3];
        for (int i = 0; i < 3; ++i) p[i] = sunPoint[i] + e.loc * axisLength * axis[i];
        double w[3];
        if (!Project(p, w)) continue;
        const float half = screenWidth * (1.0f / 1024.0f) * e.size;
        quads.push_back({static_cast<float>(w[0]), static_cast<float>(w[1]), half, e.r, e.g, e.b, texture});
    }
    return quads;
}

void LensFlare::Update(const float position[3], const float direction[3]) {
    if (!gTrackSettings.hasSun) return;
    const float* sun = gTrackSettings.sun.position;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const float probe[3] = {position[0] + 2.0f * sun[0], position[1] + 2.0f * sun[1], position[2] + 2.0f * sun[2]};
    if (IsOccluded(probe)) return;
    Draw(Layout(position, direction, sun, gSettings.screenWidth));
}

void LensFlare::Draw(const std::vector<FlareQuad>& quads) const {
    BeginFlat(FLAT_GLOW);  // window pixels from the lower left
    for (const FlareQuad& q : quads)
        DrawPicture(q.texture, q.x - q.half, q.y - q.half, q.x + q.half, q.y + q.half, 1.0f, 0.0f,
                    {q.r, q.g, q.b, 1.0f});
    EndFlat();
}
