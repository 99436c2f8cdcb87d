#include "scene/sgiimage.h"

#include "scene/bytereader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kPixelDataOffset = 512;

// Expands one run-length encoded row from src[0, length) into a row of width bytes.
void ExpandRow(const uint8_t* src, size_t length, uint8_t* row, size_t width) {
    size_t in = 0, out = 0;
    while (in < length) {
        const uint8_t c = src[in++];
        const size_t count = c & 0x7F;
        if (count == 0)
            return;
        if (c & 0x80) {
            const size_t n = std::min(count, std::min(length - in, width - out));
            std::memcpy(row + out, src + in, n);
            in += count;
            out += n;
        } else {
            if (in >= length)
                return;
            const size_t n = std::min(count, width - out);
            std::memset(row + out, src[in++], n);
            out += n;
        }
    }
}

}  // namespace

bool ReadBwImage(const uint8_t* data, size_t size, BwImage& out, const char*& error) {
    out = BwImage();
    ByteReader in(data, size);
    uint16_t magic = 0, type = 0, dimension = 0, xsize = 0, ysize = 0, zsize = 0;
    if (!in.U16BE(magic) || !in.U16BE(type) || !in.U16BE(dimension) || !in.U16BE(xsize) || !in.U16BE(ysize) ||
        !in.U16BE(zsize)) {
        error = "truncated header";
        return false;
    }
    if (zsize != 1) {
        error = "not a single-channel image";
        return false;
    }
    if (xsize == 0 || ysize == 0 || long(xsize) * ysize > kMaxBwPixels) {
        error = "image size out of range";
        return false;
    }
    const size_t width = xsize, height = ysize;
    std::vector<uint8_t> pixels(width * height, 0);
    const bool runLength = (type >> 8) == 1;
    if (!runLength) {
        if (size < kPixelDataOffset || (size - kPixelDataOffset) / width < height) {
            error = "truncated pixel data";
            return false;
        }
        std::memcpy(pixels.data(), data + kPixelDataOffset, width * height);
    } else {
        ByteReader starts(data, size), lengths(data, size);
        if (!starts.Seek(kPixelDataOffset) || !lengths.Seek(kPixelDataOffset + 4 * height) ||
            lengths.Remaining() / 4 < height) {
            error = "truncated row tables";
            return false;
        }
        for (size_t y = 0; y < height; ++y) {
            uint32_t start = 0, length = 0;
            starts.U32BE(start);
            lengths.U32BE(length);
            if (start > size || length > size - start) {
                error = "row outside the file";
                return false;
            }
            ExpandRow(data + start, length, pixels.data() + y * width, width);
        }
    }
    out.width = xsize;
    out.height = ysize;
    out.pixels = std::move(pixels);
    return true;
}
