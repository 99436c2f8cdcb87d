#include "imagewriter.h"

#include "filewriter.h"

#include <algorithm>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
// The JPEG encoder left-shifts negative coefficients; harmless on every compiler we use, but it would stop
// the sanitizer build.
#ifdef __clang__
#pragma clang attribute push(__attribute__((no_sanitize("shift"))), apply_to = function)
#endif
#include <stb/stb_image_write.h>
#ifdef __clang__
#pragma clang attribute pop
#endif

namespace {

void AppendBytes(void* context, void* data, int size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    static_cast<std::vector<uint8_t>*>(context)->insert(static_cast<std::vector<uint8_t>*>(context)->end(), p,
                                                        p + size);
}

// One row as SGI runs: literal stretches (high bit set) and repeats, each at most 127 long, then a 0.
void EncodeRow(const uint8_t* row, int width, std::vector<uint8_t>& out) {
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 127 && row[x + run] == row[x])
            ++run;
        if (run >= 3) {
            out.push_back(uint8_t(run));
            out.push_back(row[x]);
            x += run;
            continue;
        }
        int literal = 0;
        while (x + literal < width && literal < 127 &&
               !(x + literal + 2 < width && row[x + literal] == row[x + literal + 1] &&
                 row[x + literal] == row[x + literal + 2]))
            ++literal;
        out.push_back(uint8_t(0x80 | literal));
        out.insert(out.end(), row + x, row + x + literal);
        x += literal;
    }
    out.push_back(0);
}

}  // namespace

RgbImage::RgbImage(int w, int h, uint8_t r, uint8_t g, uint8_t b) : width(w), height(h) {
    rgb.resize(size_t(w) * h * 3);
    Fill(0, 0, w, h, r, g, b);
}

void RgbImage::Set(int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
    p[0] = r;
    p[1] = g;
    p[2] = b;
}

void RgbImage::Fill(int x0, int y0, int x1, int y1, uint8_t r, uint8_t g, uint8_t b) {
    for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, width); ++x)
            Set(x, y, r, g, b);
}

GrayImage::GrayImage(int w, int h, uint8_t value) : width(w), height(h), pixels(size_t(w) * h, value) {}

std::vector<uint8_t> EncodeJpeg(const RgbImage& image, int quality) {
    std::vector<uint8_t> out;
    stbi_write_jpg_to_func(AppendBytes, &out, image.width, image.height, 3, image.rgb.data(), quality);
    return out;
}

std::vector<uint8_t> EncodeBmp(const RgbImage& image) {
    std::vector<uint8_t> out;
    stbi_write_bmp_to_func(AppendBytes, &out, image.width, image.height, 3, image.rgb.data());
    return out;
}

std::vector<uint8_t> EncodePng(const RgbImage& image) {
    std::vector<uint8_t> out;
    stbi_write_png_to_func(AppendBytes, &out, image.width, image.height, 3, image.rgb.data(), image.width * 3);
    return out;
}

std::vector<uint8_t> EncodeBw(const GrayImage& image, bool runLength) {
    ByteWriter w;
    w.U16BE(474);  // SGI magic
    w.U8(runLength ? 1 : 0);
    w.U8(1);  // bytes per channel
    w.U16BE(2);  // dimension
    w.U16BE(uint16_t(image.width));
    w.U16BE(uint16_t(image.height));
    w.U16BE(1);  // one channel
    w.U32BE(0);  // darkest pixel
    w.U32BE(255);  // brightest pixel
    w.bytes.resize(512, 0);
    if (!runLength) {
        w.Raw(image.pixels.data(), image.pixels.size());
        return w.bytes;
    }
    std::vector<uint8_t> rows;
    std::vector<uint32_t> starts, lengths;
    const uint32_t dataStart = 512 + 8 * uint32_t(image.height);
    for (int y = 0; y < image.height; ++y) {
        const size_t before = rows.size();
        EncodeRow(&image.pixels[size_t(y) * image.width], image.width, rows);
        starts.push_back(dataStart + uint32_t(before));
        lengths.push_back(uint32_t(rows.size() - before));
    }
    for (uint32_t s : starts)
        w.U32BE(s);
    for (uint32_t l : lengths)
        w.U32BE(l);
    w.Raw(rows.data(), rows.size());
    return w.bytes;
}

bool WriteJpeg(const std::string& path, const RgbImage& image, int quality) {
    return WriteBytes(path, EncodeJpeg(image, quality));
}

bool WriteBmp(const std::string& path, const RgbImage& image) {
    return WriteBytes(path, EncodeBmp(image));
}

bool WritePng(const std::string& path, const RgbImage& image) {
    return WriteBytes(path, EncodePng(image));
}

bool WriteBw(const std::string& path, const GrayImage& image, bool runLength) {
    return WriteBytes(path, EncodeBw(image, runLength));
}
