// The race camera's lens flare: made with the first track that has a sun while the video page's switch is on
// (read at start, as the page's other values), kept with the camera.
#include "data/settings.h"
#include "data/trackscript.h"
#include "lighting/lensflare.h"
#include "scene/transformation.h"

void CCamera::ReleaseLensFlare() {
    delete lensFlare;
    lensFlare = nullptr;
}

void CCamera::EnsureLensFlare() {
    if (gSettings.lensFlare && gTrackSettings.hasSun && !lensFlare) lensFlare = new LensFlare(textureManager);
}

void CCamera::UpdateLensFlare() {
    if (!lensFlare || !gTrackSettings.hasSun) return;
    float direction[3];
    GetDirection(direction);
    const float position[3] = {x, y, z};
    lensFlare->Update(position, direction);
}
