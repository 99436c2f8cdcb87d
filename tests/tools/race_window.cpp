// The game in its window, sent from the loading screen straight into a race of track 1, for end-to-end
// tests of the race itself. Everything after the start is the game's own frame loop.
#include <GL/freeglut.h>

#include <cstdio>

#include "app/frame.h"
#include "app/input.h"
#include "app/managers.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "race/gamerenderer.h"
#include "race/ghost.h"
#include "race/headless.h"
#include "race/raceflow.h"

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

int main() {
    int argc = 1;
    char title[] = "Zephyrace";
    char* argv[] = {title, nullptr};
    if (!LoadSettings())
        return 2;
    gSelectedTrack = 0;
    gGhostChoice = GHOST_NONE;  // the race alone, holding still at its start
    gStateAfterLoading = STATE_RACE_INTRO;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(gSettings.screenWidth, gSettings.screenHeight);
    glutCreateWindow(title);
    glutDisplayFunc(RaceFrame);
    glutIdleFunc(RaceFrame);
    glutKeyboardFunc(KeyboardDown);
    glutKeyboardUpFunc(KeyboardUp);
    glutSpecialFunc(SpecialDown);
    glutSpecialUpFunc(SpecialUp);
    glutPassiveMotionFunc(PassiveMotion);
    glutMainLoop();
    return 0;
}
