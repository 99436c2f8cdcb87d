#include "platform/displaymodes.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include "app/log.h"

namespace {

const int kCommonSizes[][2] = {{640, 480},   {800, 600},   {1024, 768},  {1152, 864},  {1280, 720},
                               {1280, 800},  {1280, 1024}, {1366, 768},  {1440, 900},  {1600, 900},
                               {1680, 1050}, {1920, 1080}, {2560, 1440}, {3840, 2160}};

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

bool HasChoice(const std::vector<DisplayMode>& modes) {
    for (const DisplayMode& m : modes)
        if (m.width != modes.front().width || m.height != modes.front().height)
            return true;
    return false;
}

}  // namespace

std::vector<DisplayMode> CommonDisplayModes(int width, int height, int depth) {
    std::vector<DisplayMode> modes;
    for (const auto& size : kCommonSizes)
        if (size[0] <= width && size[1] <= height)
            modes.push_back({size[0], size[1], depth});
    return modes;
}

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
    if (!HasChoice(modes)) {
        const std::vector<DisplayMode> common = CommonDisplayModes(width, height, depth);
        modes.insert(modes.end(), common.begin(), common.end());
    }
    XCloseDisplay(display);
    return modes;
}
