#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An 8-bit RGB picture, top row first (as in JPEG and BMP files and as people draw).
struct RgbImage {
    RgbImage() = default;
    RgbImage(int w, int h, uint8_t r = 0, uint8_t g = 0, uint8_t b = 0);

    void Set(int x, int y, uint8_t r, uint8_t g, uint8_t b);  // ignores points outside
    void Fill(int x0, int y0, int x1, int y1, uint8_t r, uint8_t g, uint8_t b);  // [x0, x1) x [y0, y1)
    const uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }

    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

// A single-channel picture, row 0 at the bottom (as SGI files store it).
struct GrayImage {
    GrayImage() = default;
    GrayImage(int w, int h, uint8_t value = 0);
    uint8_t& At(int x, int y) { return pixels[size_t(y) * width + x]; }

    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

std::vector<uint8_t> EncodeJpeg(const RgbImage& image, int quality = 92);
std::vector<uint8_t> EncodeBmp(const RgbImage& image);  // 24-bit, uncompressed
std::vector<uint8_t> EncodePng(const RgbImage& image);
std::vector<uint8_t> EncodeBw(const GrayImage& image, bool runLength);

// Write the encoded picture, creating the folder; print why on failure.
bool WriteJpeg(const std::string& path, const RgbImage& image, int quality = 92);
bool WriteBmp(const std::string& path, const RgbImage& image);
bool WritePng(const std::string& path, const RgbImage& image);
bool WriteBw(const std::string& path, const GrayImage& image, bool runLength = true);
