#pragma once

#include <cstdint>
#include <cstdio>

#include "app/log.h"

// Fuzzers feed millions of bad lines: the log is switched off.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gLogSilent = true;
    return 0;
}

// The input as a read-only file, as the game's parsers read their files; null if it cannot open.
inline FILE* OpenInput(const uint8_t* data, size_t size) {
    return fmemopen(const_cast<uint8_t*>(data), size, "r");
}
