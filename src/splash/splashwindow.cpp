// The splash window on X11: a borderless, always-on-top window centred on the desktop.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <cstring>
#include <poll.h>

#include "app/log.h"
#include "platform/clock.h"
#include "platform/shell.h"
#include "splash/splash.h"

const char* const kSupportPage = "../support.html";

bool InDonationArea(int x, int y) { return x >= 60 && x <= 188 && y >= 72 && y <= 113; }

namespace {

constexpr char kSplashTitle[] = "ZephyraceSplash";
constexpr char kSplashBitmap[] = "../Textures/splash.bmp";

int gLastXError = 0;

int RecordXError(Display*, XErrorEvent* event) {
    gLastXError = event->error_code;
    return 0;
}

int MaskShift(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

class CSplashScreen {
public:
    virtual ~CSplashScreen();
    bool Create(const SplashPicture& picture);
    // Handles events until the timer, a key or a click closes the splash.
    void Run();

private:
    bool Handle(const XEvent& event);  // false once the splash should close
    bool MakeImage(const SplashPicture& picture);
    void SetWindowProperties();

    Display* mDisplay = nullptr;
    Window mWindow = 0;
    int mX = 0, mY = 0, mWidth = 0, mHeight = 0;
    XImage* mImage = nullptr;
    std::vector<uint32_t> mPixels;
    GC mGc = nullptr;
    XErrorHandler mPreviousHandler = nullptr;
    bool mHandlerInstalled = false;
};

CSplashScreen::~CSplashScreen() {
    if (mImage) {
        mImage->data = nullptr;  // the pixels belong to mPixels
        XDestroyImage(mImage);
    }
    if (mGc) XFreeGC(mDisplay, mGc);
    if (mWindow) XDestroyWindow(mDisplay, mWindow);
    if (mDisplay) XCloseDisplay(mDisplay);
    if (mHandlerInstalled) XSetErrorHandler(mPreviousHandler);
}

bool CSplashScreen::MakeImage(const SplashPicture& picture) {
    Visual* visual = DefaultVisual(mDisplay, DefaultScreen(mDisplay));
    const int depth = DefaultDepth(mDisplay, DefaultScreen(mDisplay));
    if (visual->c_class != TrueColor || depth < 24) {
        Log("Failed to create window- error %d", BadMatch);
        return false;
    }
    const int rs = MaskShift(visual->red_mask), gs = MaskShift(visual->green_mask), bs = MaskShift(visual->blue_mask);
    mPixels.resize(static_cast<size_t>(mWidth) * mHeight);
    for (size_t i = 0; i < mPixels.size(); ++i) {
        const uint8_t* p = &picture.rgb[i * 3];
        mPixels[i] = (uint32_t{p[0]} << rs) | (uint32_t{p[1]} << gs) | (uint32_t{p[2]} << bs);
    }
    mImage = XCreateImage(mDisplay, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                          reinterpret_cast<char*>(mPixels.data()), static_cast<unsigned>(mWidth),
                          static_cast<unsigned>(mHeight), 32, mWidth * 4);
    return mImage != nullptr;
}

void CSplashScreen::SetWindowProperties() {
    XStoreName(mDisplay, mWindow, kSplashTitle);
    XClassHint classHint;
    char name[] = "SplashScreen";
    classHint.res_name = name;
    classHint.res_class = name;
    XSetClassHint(mDisplay, mWindow, &classHint);

    XSizeHints size = {};
    size.flags = USPosition | PPosition | PMinSize | PMaxSize;
    size.x = mX;
    size.y = mY;
    size.min_width = size.max_width = mWidth;
    size.min_height = size.max_height = mHeight;
    XSetWMNormalHints(mDisplay, mWindow, &size);

    // No decorations, kept above every other window.
    const long motifHints[5] = {2, 0, 0, 0, 0};
    const Atom motif = XInternAtom(mDisplay, "_MOTIF_WM_HINTS", False);
    XChangeProperty(mDisplay, mWindow, motif, motif, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motifHints), 5);
    const Atom above = XInternAtom(mDisplay, "_NET_WM_STATE_ABOVE", False);
    XChangeProperty(mDisplay, mWindow, XInternAtom(mDisplay, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&above), 1);
}

bool CSplashScreen::Create(const SplashPicture& picture) {
    // Xlib's default handler ends the process on any error; a splash problem must not end the game.
    mPreviousHandler = XSetErrorHandler(RecordXError);
    mHandlerInstalled = true;
    mDisplay = XOpenDisplay(nullptr);
    if (!mDisplay) {
        Log("Failed to create window- error %d", 0);
        return false;
    }
    const int screen = DefaultScreen(mDisplay);
    mWidth = picture.width;
    mHeight = picture.height;
    mX = DisplayWidth(mDisplay, screen) / 2 - mWidth / 2;
    mY = DisplayHeight(mDisplay, screen) / 2 - mHeight / 2;
    if (!MakeImage(picture)) return false;

    gLastXError = 0;
    XSetWindowAttributes attributes = {};
    attributes.background_pixel = BlackPixel(mDisplay, screen);
    attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | StructureNotifyMask;
    mWindow = XCreateWindow(mDisplay, RootWindow(mDisplay, screen), mX, mY, static_cast<unsigned>(mWidth),
                            static_cast<unsigned>(mHeight), 0, CopyFromParent, InputOutput, CopyFromParent,
                            CWBackPixel | CWEventMask, &attributes);
    XSync(mDisplay, False);
    if (!mWindow || gLastXError != 0) {
        Log("Failed to create window- error %d", gLastXError);
        mWindow = 0;
        return false;
    }
    SetWindowProperties();
    mGc = XCreateGC(mDisplay, mWindow, 0, nullptr);
    XMapRaised(mDisplay, mWindow);
    XFlush(mDisplay);
    return true;
}

bool CSplashScreen::Handle(const XEvent& event) {
    switch (event.type) {
    case Expose:
        XPutImage(mDisplay, mWindow, mGc, mImage, 0, 0, 0, 0, static_cast<unsigned>(mWidth),
                  static_cast<unsigned>(mHeight));
        return true;
    case MapNotify:
        // Keys must reach the splash even where no window manager hands out the focus.
        XSetInputFocus(mDisplay, mWindow, RevertToPointerRoot, CurrentTime);
        return true;
    case KeyPress:
        return false;
    case ButtonPress:
        if (event.xbutton.button == Button2 || event.xbutton.button == Button3) return false;
        if (event.xbutton.button == Button1 && InDonationArea(event.xbutton.x, event.xbutton.y)) {
            OpenGamePage(kSupportPage);
            exit(0);
        }
        return true;
    default:
        return true;
    }
}

void CSplashScreen::Run() {
    const uint32_t start = timeGetTime();
    for (;;) {
        while (XPending(mDisplay)) {
            XEvent event;
            XNextEvent(mDisplay, &event);
            if (!Handle(event)) return;
        }
        const uint32_t elapsed = timeGetTime() - start;
        if (elapsed >= kSplashDisplayMs) return;
        pollfd connection = {ConnectionNumber(mDisplay), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(kSplashDisplayMs - elapsed));
    }
}

}  // namespace

void RunSplashScreen() {
    SplashPicture picture;
    if (!LoadSplashPicture(kSplashBitmap, picture)) return;
    CSplashScreen splash;
    if (splash.Create(picture)) splash.Run();
}
