#include "platform/clock.h"

#include <ctime>

uint32_t timeGetTime() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
    return uint32_t(ms);
}

float ElapsedSeconds(uint32_t then, uint32_t now) {
    uint32_t delta = now - then;  // unsigned difference: a wrap still gives the small interval
    return float(delta) * 0.001f;
}

void Sleep(uint32_t milliseconds) {
    timespec ts;
    ts.tv_sec = milliseconds / 1000;
    ts.tv_nsec = long(milliseconds % 1000) * 1000000L;
    while (nanosleep(&ts, &ts) != 0) {
    }
}
