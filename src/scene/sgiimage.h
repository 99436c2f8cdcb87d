#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A single-channel SGI image (".bw"), one byte per pixel, row 0 at the bottom as stored in the file.
struct BwImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

constexpr long kMaxBwPixels = 4096L * 4096L;

// Reads verbatim and run-length encoded files with one channel. False (out emptied) for other files or
// damaged data; error then says why. A run that would overflow its row is cut at the row's end.
bool ReadBwImage(const uint8_t* data, size_t size, BwImage& out, const char*& error);
