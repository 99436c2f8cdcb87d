#include "hud/hudtimer.h"

#include <cstdio>

uint32_t gRaceClock = 0;

void HudTimer::Reset() {
    *this = HudTimer();
}

void HudTimer::Start(bool resume, uint32_t now) {
    running = true;
    start = now;
    if (!resume) {
        accumulated = 0;
        gRaceClock = 0;
    }
}

void HudTimer::Stop() {
    // The clock keeps the value of the last draw: the results read it before the timer is stopped, and
    // the time shown must be the time saved.
    running = false;
    accumulated = gRaceClock;
}

void HudTimer::Tick(uint32_t now) {
    if (!running)
        return;
    const uint32_t t = now - start + accumulated;
    gRaceClock = t;
    const uint32_t minutes = t / 60000;
    const uint32_t seconds = (t - minutes * 60000) / 1000;
    const uint32_t hundredths = (t - minutes * 60000 - seconds * 1000) / 10;
    snprintf(text, sizeof(text), "%02d:%02d.%02d", int(minutes), int(seconds), int(hundredths));
}
