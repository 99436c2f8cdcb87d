#include "platform/displaymodes.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include "app/log.h"

namespace {

// Bits per pixel of the screen's default depth (24-bit colour is stored in 32-bit pixels).
int BitsPerPixel(Display* display, int screen) {
    const int depth = DefaultDepth(display, screen);
    int count = 0;
    int bpp = depth;
    if (XPixmapFormatValues* formats = XListPixmapFormats(display, &count)) {
        for (int i = 0; i < count; i++)
            if (formats[i].depth == depth)
                bpp = formats[i].bits_per_pixel;
        XFree(formats);
    }
    return bpp;
}

void AddRandrModes(Display* display, int depth, std::vector<DisplayMode>& modes) {
    int eventBase = 0;
    int errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase))
        return;
    XRRScreenResources* resources = XRRGetScreenResources(display, DefaultRootWindow(display));
    if (!resources)
        return;
    for (int i = 0; i < resources->nmode; i++)
        modes.push_back({int(resources->modes[i].width), int(resources->modes[i].height), depth});
    XRRFreeScreenResources(resources);
}

}  // namespace

std::vector<DisplayMode> ListDisplayModes() {
    std::vector<DisplayMode> modes;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        Log("No X display to list the display modes of");
        return modes;
    }
    const int screen = DefaultScreen(display);
    const int depth = BitsPerPixel(display, screen);
    const int width = DisplayWidth(display, screen);
    const int height = DisplayHeight(display, screen);
    AddRandrModes(display, depth, modes);
    modes.push_back({width, height, depth});
    XCloseDisplay(display);
    return modes;
}
