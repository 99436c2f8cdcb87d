#pragma once

#include <cstdint>

// Milliseconds from a monotonic clock, truncated to 32 bits: wraps like the Windows counter it replaces.
uint32_t timeGetTime();

// Seconds between two timeGetTime readings, correct across a wrap of the counter.
float ElapsedSeconds(uint32_t then, uint32_t now);

void Sleep(uint32_t milliseconds);
