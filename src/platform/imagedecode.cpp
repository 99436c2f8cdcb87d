#include "platform/imagedecode.h"

// Only the two formats the game ships; the other decoders would only widen what a bad file can reach.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS kMaxDecodedSide
// The decoder shifts negative values in places; harmless with our compilers, but fatal to the sanitizer build.
#ifdef __clang__
#pragma clang attribute push(__attribute__((no_sanitize("shift", "signed-integer-overflow"))), apply_to = function)
#endif
#include <stb/stb_image.h>
#ifdef __clang__
#pragma clang attribute pop
#endif

#include <climits>

namespace {

// The packaged JPEG decoder trusts the code counts of a Huffman table (more than the 256 symbols a table
// holds overruns it) and has known faults in its progressive path. Every FF C4 (table) in the file is
// checked, wherever it stands, so no desynchronised segment walk can hide one; progressive files are not
// ours and are refused.
bool JpegIsSafeToDecode(const uint8_t* data, size_t size, const char*& error) {
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
        return true;  // the BMP reader's; its pixels may hold any bytes
    constexpr int kMaxTableSegments = 64;
    int tableSegments = 0;
    for (size_t i = 0; i + 1 < size; ++i) {
        if (data[i] != 0xFF)
            continue;
        const uint8_t marker = data[i + 1];
        if (marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE) {
            error = "progressive JPEG";
            return false;
        }
        if (marker != 0xC4 || i + 3 >= size)
            continue;
        // A picture of ours has one to four table segments; thousands would only make this check slow.
        if (++tableSegments > kMaxTableSegments) {
            error = "too many Huffman tables";
            return false;
        }
        // As the decoder does: tables follow while the segment length says bytes remain, and a table may
        // run past the segment's end.
        long left = long((data[i + 2] << 8) | data[i + 3]) - 2;
        for (size_t at = i + 4; left > 0 && at < size;) {
            size_t symbols = 0;
            for (size_t k = 1; k <= 16 && at + k < size; ++k)
                symbols += data[at + k];
            if (symbols > 256) {
                error = "damaged Huffman table";
                return false;
            }
            at += 17 + symbols;
            left -= long(17 + symbols);
        }
    }
    return true;
}

}  // namespace

bool DecodeImage(const uint8_t* data, size_t size, DecodedImage& out, const char*& error) {
    out = DecodedImage();
    if (size == 0 || size > size_t(INT_MAX)) {
        error = "empty or oversized file";
        return false;
    }
    if (!JpegIsSafeToDecode(data, size, error))
        return false;
    const int length = static_cast<int>(size);
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, length, &width, &height, &channels)) {
        error = "not a JPEG or BMP picture";
        return false;
    }
    if (width <= 0 || height <= 0 || width > kMaxDecodedSide || height > kMaxDecodedSide ||
        long(width) * height > kMaxDecodedPixels) {
        error = "picture size out of range";
        return false;
    }
    stbi_uc* pixels = stbi_load_from_memory(data, length, &width, &height, &channels, 3);
    if (!pixels) {
        error = stbi_failure_reason();
        return false;
    }
    out.width = width;
    out.height = height;
    out.rgb.assign(pixels, pixels + size_t(width) * height * 3);
    stbi_image_free(pixels);
    return true;
}

std::vector<uint8_t> ScaleBottomUp(const DecodedImage& image, int width, int height) {
    std::vector<uint8_t> out(size_t(width) * height * 3);
    uint8_t* dst = out.data();
    for (int row = 0; row < height; ++row) {
        // Output row 0 is the picture's bottom row.
        const long srcRow = image.height - 1 - (2L * row + 1) * image.height / (2L * height);
        const uint8_t* src = image.rgb.data() + size_t(srcRow) * image.width * 3;
        for (int col = 0; col < width; ++col) {
            const long srcCol = (2L * col + 1) * image.width / (2L * width);
            const uint8_t* p = src + srcCol * 3;
            *dst++ = p[0];
            *dst++ = p[1];
            *dst++ = p[2];
        }
    }
    return out;
}
