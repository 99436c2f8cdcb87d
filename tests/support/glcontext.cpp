#include "glcontext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glew.h>

#include <cstdlib>

// The GL driver keeps process-lifetime allocations that the leak checker would otherwise report.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libEGL_mesa\nleak:libGLX_mesa\nleak:swrast_dri\nleak:libLLVM\nleak:libgallium\nleak:libglapi\n"
           "leak:dri\n";
}

namespace {

bool CreateContext() {
    // The driver draws in the test's own thread and starts no helper threads: the sanitizer build's leak
    // checker at exit crashed now and then on one of them ("Tracer caught signal 11").
    setenv("LP_NUM_THREADS", "0", 0);
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay)
        return false;
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr) || !eglBindAPI(EGL_OPENGL_API))
        return false;
    const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, attributes, &config, 1, &count) || count < 1)
        return false;
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT || !eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context))
        return false;
    // Without GLX GLEW reports that it found no X display, after it has loaded every entry point.
    const GLenum status = glewInit();
    return status == GLEW_OK || status == GLEW_ERROR_NO_GLX_DISPLAY;
}

}  // namespace

bool MakeTestGLContext() {
    static const bool ok = CreateContext();
    return ok;
}

TestFramebuffer::TestFramebuffer(int width, int height) {
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glViewport(0, 0, width, height);
}

TestFramebuffer::~TestFramebuffer() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteFramebuffers(1, &fbo_);
}
