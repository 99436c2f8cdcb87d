#include "platform/imagedecode.h"

#include <climits>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// BMP only: JPEG goes to libjpeg-turbo.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS kMaxDecodedSide
#include <stb/stb_image.h>

namespace {

// A progressive file decodes every scan over the whole picture; a damaged one can claim thousands. The finest
// script an encoder writes sends one coefficient of one component a scan (1 + 3 x 63 = 190 scans in colour,
// 253 in CMYK); a successive-approximation pass for each coefficient on top doubles that to about 510.
// 1000 stays clear of that and still bounds the work a hostile file can ask for.
constexpr int kMaxJpegScans = 1000;

bool SizeInRange(long width, long height) {
    return width > 0 && height > 0 && width <= kMaxDecodedSide && height <= kMaxDecodedSide &&
           width * height <= kMaxDecodedPixels;
}

// libjpeg reports a fatal error by calling error_exit, which must not return. We jump back to DecodeJpeg,
// past libjpeg's own C frames only: nothing between the setjmp and the library owns a C++ object.
struct JpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    bool warned;
};

char gJpegMessage[JMSG_LENGTH_MAX];

void JpegErrorExit(j_common_ptr info) {
    info->err->format_message(info, gJpegMessage);
    longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
}

// A warning is damage the library patches over (stray bytes, a cut-off end shown grey), as every common
// viewer does: the picture is shown and the first warning is kept to be logged. Trace messages are dropped.
void JpegKeepFirstWarning(j_common_ptr info, int level) {
    auto* errors = reinterpret_cast<JpegErrorManager*>(info->err);
    if (level < 0 && !errors->warned) {
        info->err->format_message(info, gJpegMessage);
        errors->warned = true;
    }
}

void JpegCountScans(j_common_ptr info) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxJpegScans) {
        snprintf(gJpegMessage, sizeof gJpegMessage, "more than %d scans", kMaxJpegScans);
        longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
    }
}

// A CMYK row as Adobe writes it (inverted: 255 is no ink), turned into RGB in place: each pixel's three
// bytes land at or before the four they come from, so a row read at the start of its RGB place converts
// forwards.
void InvertedCmykToRgb(uint8_t* row, int width) {
    for (int x = 0; x < width; ++x) {
        const unsigned c = row[4 * x], m = row[4 * x + 1], y = row[4 * x + 2], k = row[4 * x + 3];
        row[3 * x] = uint8_t((c * k + 127) / 255);
        row[3 * x + 1] = uint8_t((m * k + 127) / 255);
        row[3 * x + 2] = uint8_t((y * k + 127) / 255);
    }
}

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedImage& out, const char*& error) {
    jpeg_decompress_struct info;
    JpegErrorManager errors;
    jpeg_progress_mgr progress = {};
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = JpegErrorExit;
    errors.pub.emit_message = JpegKeepFirstWarning;
    errors.warned = false;
    progress.progress_monitor = JpegCountScans;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        out = DecodedImage();
        error = gJpegMessage;
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (!SizeInRange(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        error = "picture size out of range";
        return false;
    }
    // libjpeg turns YCCK into CMYK but neither into RGB; that last step is ours.
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    // A CMYK row is a third longer than its RGB place: the last one reaches that far past the picture.
    const size_t rowBytes = size_t(out.width) * 3;
    out.rgb.resize(rowBytes * out.height + (cmyk ? size_t(out.width) : 0));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.rgb.data() + size_t(info.output_scanline) * rowBytes;
        if (jpeg_read_scanlines(&info, &row, 1) == 1 && cmyk)
            InvertedCmykToRgb(row, out.width);
    }
    out.rgb.resize(rowBytes * out.height);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    error = errors.warned ? gJpegMessage : nullptr;
    return true;
}

bool DecodeBmp(const uint8_t* data, size_t size, DecodedImage& out, const char*& error) {
    const int length = static_cast<int>(size);
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, length, &width, &height, &channels)) {
        error = "damaged BMP";
        return false;
    }
    if (!SizeInRange(width, height)) {
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

}  // namespace

bool DecodeImage(const uint8_t* data, size_t size, DecodedImage& out, const char*& error) {
    out = DecodedImage();
    error = nullptr;
    if (size < 2 || size > size_t(INT_MAX)) {
        error = "empty or oversized file";
        return false;
    }
    if (data[0] == 'B' && data[1] == 'M')
        return DecodeBmp(data, size, out, error);
    if (data[0] == 0xFF && data[1] == 0xD8)
        return DecodeJpeg(data, size, out, error);
    error = "not a JPEG or BMP picture";
    return false;
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
