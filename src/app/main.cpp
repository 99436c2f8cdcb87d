// Process entry: splash, settings, the GLUT window, then the main loop.
#include <GL/freeglut.h>

#include <cstdio>

#include "app/frame.h"
#include "app/input.h"
#include "app/log.h"
#include "data/settings.h"
#include "splash/splash.h"

int main() {
    gInitialised = false;
    int argc = 1;
    char title[] = "Zephyrace";
    char* argv[] = {title, nullptr};

    RunSplashScreen();
    if (!LoadSettings())
        return -1;

    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    if (gSettings.fullscreen) {
        char mode[64];
        snprintf(mode, sizeof(mode), "%dx%d:32", gSettings.screenWidth, gSettings.screenHeight);
        glutGameModeString(mode);
        if (!glutGameModeGet(GLUT_GAME_MODE_POSSIBLE)) {
            Log("The selected mode is not available\n");
            return 1;
        }
        glutEnterGameMode();
    } else {
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
