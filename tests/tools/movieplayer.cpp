// Plays the intro movie in a plain GLUT window of the given size, as the game does, then exits:
// movieplayer WIDTH HEIGHT windowed|fullscreen (run from a game tree's bin folder).
#include <GL/freeglut.h>

#include <cstdlib>
#include <cstring>

#include "splash/intromovie.h"

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const int width = atoi(argv[1]), height = atoi(argv[2]);
    const bool fullscreen = strcmp(argv[3], "fullscreen") == 0;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(width, height);
    glutCreateWindow("MoviePlayer");
    PlayIntroMovie(fullscreen);
    return 0;
}
