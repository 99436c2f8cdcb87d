#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A decoded JPEG or BMP picture, 8-bit RGB, top row first as stored in the file.
struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

// Largest picture we decode; it bounds the memory a hostile header can ask for.
constexpr int kMaxDecodedSide = 16384;
constexpr long kMaxDecodedPixels = 4096L * 4096L;

// Decodes a JPEG or BMP file image (a CMYK or YCCK JPEG too, turned into RGB). False (out emptied) for other
// formats, data the decoder gives up on, or pictures beyond the limits above; error then says why. True
// with error set when the decoder patched damage over (a JPEG warning, the first one): worth a log line.
bool DecodeImage(const uint8_t* data, size_t size, DecodedImage& out, const char*& error);

// The picture resampled (nearest pixel, so exact colours survive) to width x height, bottom row first.
std::vector<uint8_t> ScaleBottomUp(const DecodedImage& image, int width, int height);
