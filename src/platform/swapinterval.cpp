#include "platform/swapinterval.h"

#include <GL/glx.h>

#include <cstring>

namespace {

bool Offers(Display* display, const char* extension) {
    const char* list = glXQueryExtensionsString(display, DefaultScreen(display));
    const size_t n = std::strlen(extension);
    for (const char* p = list ? std::strstr(list, extension) : nullptr; p; p = std::strstr(p + n, extension))
        if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0'))
            return true;
    return false;
}

template <typename F>
F Entry(const char* name) {
    return reinterpret_cast<F>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace

bool SetSwapInterval(int interval) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display && drawable) {
        if (Offers(display, "GLX_EXT_swap_control")) {
            Entry<void (*)(Display*, GLXDrawable, int)>("glXSwapIntervalEXT")(display, drawable, interval);
            return true;
        }
        if (Offers(display, "GLX_MESA_swap_control"))
            return Entry<int (*)(unsigned)>("glXSwapIntervalMESA")(unsigned(interval)) == 0;
        // The SGI form cannot switch swap control off.
        if (interval > 0 && Offers(display, "GLX_SGI_swap_control"))
            return Entry<int (*)(int)>("glXSwapIntervalSGI")(interval) == 0;
    }
    return false;  // buffers swap at once, as they always have; nothing a player needs to hear of
}
