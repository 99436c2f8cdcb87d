// The game in its window, sent from the loading screen straight into a race of track 1, for end-to-end
// tests of the race's pictures. Everything after the start is the game's own frame loop; no input reaches it.
#include "app/frame.h"
#include "app/managers.h"
#include "data/trackscript.h"
#include "race/gamerenderer.h"
#include "race/ghost.h"
#include "race/headless.h"
#include "race/raceflow.h"
#include "sceneview.h"

namespace {

bool gRaceRequested = false;
bool gPlaced = false;

// The game's frame, except that the race fly-over is skipped: the vehicle starts where the fly-over would
// leave it.
void RaceFrame() {
    FrameCallback();
    if (!gRaceRequested && gRequestedState == STATE_RACE_INTRO) {
        gRequestedState = STATE_RACE;
        gRaceRequested = true;
    } else if (gRaceRequested && !gPlaced && gPhysicsManager->currentState == STATE_RACE) {
        PlaceAtRaceStart(gRendererManager->game->camera, gTrackSettings);
        gPlaced = true;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!LoadSettings())
        return 2;
    gSelectedTrack = 0;
    gGhostChoice = GHOST_NONE;  // the race alone, holding still at its start
    gStateAfterLoading = STATE_RACE_INTRO;
    if (!OpenSceneWindow(argc, argv, gSettings.screenWidth, gSettings.screenHeight, "Zephyrace"))
        return 1;
    glutDisplayFunc(RaceFrame);
    glutIdleFunc(RaceFrame);
    glutMainLoop();
    return 0;
}
