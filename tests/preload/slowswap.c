// Test-only LD_PRELOAD shim: holds every frame on screen for E2E_SWAP_DELAY_MS milliseconds, so that
// screens which show for an instant (the loading screen) can be photographed.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <time.h>

void glutSwapBuffers(void) {
    static void (*real)(void);
    if (!real)
        real = (void (*)(void))dlsym(RTLD_NEXT, "glutSwapBuffers");
    real();
    const char* delay = getenv("E2E_SWAP_DELAY_MS");
    if (delay) {
        long ms = atol(delay);
        struct timespec ts = {ms / 1000, (ms % 1000) * 1000000L};
        nanosleep(&ts, NULL);
    }
}
