#pragma once
// What every fuzz target shares: the libFuzzer entry points around its FUZZ_TARGET body, the input as a
// file, the trap on a broken promise, and inputs that edit a valid file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/log.h"

// Fuzzers feed millions of bad lines: the log is switched off.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gLogSilent = true;
    return 0;
}

// FUZZ_TARGET { ... }: the body run for each input, `data` and `size`.
#define FUZZ_TARGET                                                          \
    static void FuzzOne(const uint8_t* data, size_t size);                   \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { \
        FuzzOne(data, size);                                                 \
        return 0;                                                            \
    }                                                                        \
    static void FuzzOne(const uint8_t* data, size_t size)

// A promise of the code under test that the input broke.
inline void Require(bool kept) {
    if (!kept)
        __builtin_trap();
}

// The input as a read-only file, as the game's parsers read their files, handed to read and closed.
template <typename Read>
void ReadInput(const uint8_t* data, size_t size, Read read) {
    if (FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "r")) {
        read(f);
        fclose(f);
    }
}

// Random bytes rarely get past a file header, so an input whose first byte is odd is instead read as edits
// to a sound file: a 16-bit length to cut it to, then (16-bit offset, byte) pairs to overwrite. Such an
// input is replaced by the edited copy, which lasts until the next call.
inline void PatchInput(const uint8_t*& data, size_t& size, const std::vector<uint8_t>& sound) {
    static std::vector<uint8_t> out;
    if (size < 3 || (data[0] & 1) == 0 || sound.empty())
        return;
    out = sound;
    const size_t cut = size_t(data[1] | (data[2] << 8));
    if (cut < out.size())
        out.resize(cut);
    for (size_t i = 3; i + 2 < size && !out.empty(); i += 3)
        out[size_t(data[i] | (data[i + 1] << 8)) % out.size()] = data[i + 2];
    data = out.data();
    size = out.size();
}
