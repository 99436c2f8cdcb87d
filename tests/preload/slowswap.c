// Test-only LD_PRELOAD shim: holds every frame on screen for 0.4 s, so that
// screens which show for an instant (the loading screen) can be photographed.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <time.h>

void glutSwapBuffers(void) {
    static void (*real)(void);
    if (!real)
        real = (void (*)(void))dlsym(RTLD_NEXT, "glutSwapBuffers");
    real();
    const struct timespec hold = {0, 400000000L};
    nanosleep(&hold, NULL);
}
