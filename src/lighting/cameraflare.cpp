// The race camera's lens flare: made with the first track that has a sun, kept with the camera.
#include "data/trackscript.h"
#include "lighting/lensflare.h"
#include "scene/transformation.h"

void CCamera::ReleaseLensFlare() {
    delete lensFlare;
    lensFlare = nullptr;
}

void CCamera::EnsureLensFlare() {
    if (gTrackSettings.hasSun && !lensFlare) lensFlare = new LensFlare(textureManager);
}

void CCamera::UpdateLensFlare() {
    if (!lensFlare || !gTrackSettings.hasSun) return;
    float direction[3];
    GetDirection(direction);
    const float position[3] = {x, y, z};
    lensFlare->Update(position, direction);
}
