#pragma once

#include <cstdint>

// Race milliseconds, written by the HUD on every draw while its timer runs.
extern uint32_t gRaceClock;
// The race clock in seconds: the time the results book and the ghost runs by.
inline float RaceSeconds() { return gRaceClock / 1000.0f; }

// The race timer: runs from Start, publishes gRaceClock and its "mm:ss.hh" text on every Tick.
struct HudTimer {
    char text[16] = "00:00.00";
    bool running = false;
    uint32_t start = 0;        // timeGetTime of the current run's start
    uint32_t accumulated = 0;  // race time before the current run

    void Reset();
    void Start(bool resume, uint32_t now);  // resume false starts the race clock again from 0
    void Stop();
    void Tick(uint32_t now);
};
