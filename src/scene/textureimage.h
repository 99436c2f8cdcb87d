#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The colour that marks see-through pixels in our pictures.
constexpr uint8_t kColourKey[3] = {0x35, 0xBF, 0xCB};

// A picture ready for upload: RGBA, bottom row first, power-of-two sides no larger than the GL limit.
struct TextureImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
    bool transparent = false;  // some pixel had the colour key and got alpha 0
};

// The side a picture side of n pixels is scaled to: the nearest power of two on the log scale, at most maxSize.
int TextureSide(int n, int maxSize);

// Decodes a JPEG or BMP file image and prepares it; false with error set when it cannot be decoded, true with
// error set when damage was patched over (see DecodeImage).
bool PrepareTextureImage(const uint8_t* data, size_t size, int maxSize, TextureImage& out, const char*& error);
