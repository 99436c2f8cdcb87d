#pragma once

// What the scene viewers share: their window, the race renderer's view set-up and a PPM of the picture.

#include <GL/glew.h>
#include <GL/glut.h>

#include <cstdio>
#include <deque>
#include <vector>

#include "data/settings.h"
#include "lighting/shader.h"
#include "scene/glstate.h"
#include "scene/rendermodel.h"

// A double-buffered window in the screen's corner with depth and stencil, and the GL entry points; false when
// either fails.
inline bool OpenSceneWindow(int& argc, char** argv, int width, int height, const char* title) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(width, height);
    glutCreateWindow(title);
    return glewInit() == GLEW_OK;
}

// The race renderer's model pass, open for the rest of the run, and perspective for a window of width x height.
inline void BeginSceneView(int width, int height) {
    BeginModelPass();
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(gSettings.fieldOfView, double(width) / height, gSettings.nearPlane, gSettings.farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// The race's point-light vertex shader and the fragment shader FILE linked into program. The shaders stay for
// the whole run: a program detaches the shaders it remembers when it goes.
inline bool LinkPointLight(ShaderProgram& program, const char* file) {
    static ShaderObject vertex = LoadShader("MultiPointLight.vert");
    static std::deque<ShaderObject> fragments;
    fragments.push_back(LoadShader(file));
    program.Attach(&vertex);
    program.Attach(&fragments.back());
    return program.Link();
}

// The colour buffer as a binary PPM, top row first.
inline bool WritePpm(const char* path, int width, int height) {
    std::vector<unsigned char> pixels(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    FILE* f = fopen(path, "wb");
    if (!f) return false;
    fprintf(f, "P6\n%d %d\n255\n", width, height);
    for (int row = height - 1; row >= 0; --row) fwrite(&pixels[size_t(row) * width * 3], 1, size_t(width) * 3, f);
    return fclose(f) == 0;
}
