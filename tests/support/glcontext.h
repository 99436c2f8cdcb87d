#pragma once

// Makes an off-screen OpenGL compatibility context current (EGL without an X server, Mesa's software
// renderer) with GLEW initialised; the context lives until the process ends. False when none can be made.
bool MakeTestGLContext();

// A 2D RGBA frame buffer of the given size to draw into while it lives.
class TestFramebuffer {
public:
    TestFramebuffer(int width, int height);
    ~TestFramebuffer();
    TestFramebuffer(const TestFramebuffer&) = delete;
    TestFramebuffer& operator=(const TestFramebuffer&) = delete;

private:
    unsigned fbo_ = 0, colour_ = 0;
};
