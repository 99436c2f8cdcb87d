// Process entry: splash, settings, the GLUT window, then the main loop.
#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>

#include "app/frame.h"
#include "app/input.h"
#include "app/log.h"
#include "data/padsettings.h"
#include "data/settings.h"
#include "platform/gamepaths.h"
#include "splash/splash.h"

namespace {

// A saved full-screen mode the display cannot show (another monitor, another driver) must not keep the
// player out: the game starts in a window of that size, or of as much of it as fits on the screen.
void FallBackToWindow() {
    Log("The selected mode is not available\n");
    gSettings.fullscreen = 0;
    const int screenWidth = glutGet(GLUT_SCREEN_WIDTH), screenHeight = glutGet(GLUT_SCREEN_HEIGHT);
    if (screenWidth > 0 && screenHeight > 0) {
        gSettings.screenWidth = std::min(gSettings.screenWidth, screenWidth);
        gSettings.screenHeight = std::min(gSettings.screenHeight, screenHeight);
        gSettings.aspectRatio = float(gSettings.screenWidth) / float(gSettings.screenHeight);
    }
    Log("Starting in a %dx%d window instead", gSettings.screenWidth, gSettings.screenHeight);
}

}  // namespace

int main() {
    gInitialised = false;
    int argc = 1;
    char title[] = "Zephyrace";
    char* argv[] = {title, nullptr};

    // An installed game starts its player's files as a generated tree starts them.
    if (!SetUpGameFolders() || (GameInstalled() && !WriteMissingSettingsFiles("../")))
        return 1;
    RunSplashScreen();
    if (!LoadSettings())
        return -1;
    LoadPadSettings();

    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    if (gSettings.fullscreen) {
        char mode[64];
        snprintf(mode, sizeof(mode), "%dx%d:32", gSettings.screenWidth, gSettings.screenHeight);
        glutGameModeString(mode);
        if (glutGameModeGet(GLUT_GAME_MODE_POSSIBLE))
            glutEnterGameMode();
        else
            FallBackToWindow();
    }
    if (!gSettings.fullscreen) {
        glutInitWindowPosition(0, 0);
        glutInitWindowSize(gSettings.screenWidth, gSettings.screenHeight);
        glutCreateWindow(title);
    }

    glutDisplayFunc(FrameCallback);
    glutIdleFunc(FrameCallback);
    glutIgnoreKeyRepeat(0);
    glutKeyboardFunc(KeyboardDown);
    glutSpecialFunc(SpecialDown);
    glutKeyboardUpFunc(KeyboardUp);
    glutSpecialUpFunc(SpecialUp);
    glutPassiveMotionFunc(PassiveMotion);
    glutSetCursor(GLUT_CURSOR_NONE);

    glutMainLoop();
    return 0;
}
