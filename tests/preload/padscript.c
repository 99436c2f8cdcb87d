// Test-only LD_PRELOAD shim: a virtual game pad inside the game's process, played from the script PAD_SCRIPT,
// which may grow while the game runs. Each line is one event, "<delay> attach | detach | <button> 0|1 | <axis>
// <value>" (names as SDL's controller mappings spell them, axis values from -1 to 1), played <delay> seconds
// after the one before it or after it was read, if that is later. At most one event is played a frame (the
// first poll after the game has emptied SDL's queue), so the game sees even a short press.
#define _GNU_SOURCE
#include <SDL.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static FILE* gScript;
static int gDevice = -1;
static SDL_Joystick* gPad;
static char gLine[128];
static int gPending;  // gLine holds an event not yet due
static Uint32 gDueAt;
static Uint32 gLastAt;

static void Attach(void) {
    const SDL_VirtualJoystickDesc desc = {.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION,
                                          .type = SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                          .naxes = SDL_CONTROLLER_AXIS_MAX,
                                          .nbuttons = SDL_CONTROLLER_BUTTON_MAX,
                                          .axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1,
                                          .button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1,
                                          .name = "Scripted test pad"};
    gDevice = SDL_JoystickAttachVirtualEx(&desc);
    gPad = gDevice < 0 ? NULL : SDL_JoystickOpen(gDevice);
    if (!gPad)
        fprintf(stderr, "padscript: no virtual pad: %s\n", SDL_GetError());
}

// A control the script misspells, or one played without a pad, is refused by SDL and changes nothing.
static void Play(const char* line) {
    char name[32];
    float value = 0.0f;
    if (sscanf(line, "%*f %31s %f", name, &value) < 1)
        return;
    const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name);
    if (strcmp(name, "attach") == 0) {
        Attach();
    } else if (strcmp(name, "detach") == 0) {
        SDL_JoystickClose(gPad);
        SDL_JoystickDetachVirtual(gDevice);
        gPad = NULL;
    } else if (button != SDL_CONTROLLER_BUTTON_INVALID) {
        SDL_JoystickSetVirtualButton(gPad, button, value != 0.0f);
    } else {
        SDL_JoystickSetVirtualAxis(gPad, SDL_GameControllerGetAxisFromString(name), (Sint16)(value * 32767.0f));
    }
}

static void Advance(void) {
    if (!gScript) {
        const char* path = getenv("PAD_SCRIPT");
        if (!path || !(gScript = fopen(path, "r")))
            return;
    }
    const Uint32 now = SDL_GetTicks();
    while (!gPending) {
        clearerr(gScript);
        // A line still being written is read again whole next time.
        const long at = ftell(gScript);
        if (!fgets(gLine, sizeof(gLine), gScript))
            return;
        if (!strchr(gLine, '\n')) {
            fseek(gScript, at, SEEK_SET);
            return;
        }
        float delay = 0.0f;
        if (sscanf(gLine, "%f", &delay) == 1) {
            gDueAt = (gLastAt > now ? gLastAt : now) + (Uint32)(delay * 1000.0f);
            gPending = 1;
        }
    }
    if ((Sint32)(now - gDueAt) < 0)
        return;
    gPending = 0;
    gLastAt = gDueAt;
    Play(gLine);
}

int SDL_PollEvent(SDL_Event* event) {
    static int (*real)(SDL_Event*);
    static int drained = 1;
    if (!real)
        real = (int (*)(SDL_Event*))dlsym(RTLD_NEXT, "SDL_PollEvent");
    if (drained)
        Advance();
    drained = !real(event);
    return !drained;
}
