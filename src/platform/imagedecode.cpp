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

// A progressive file decodes every scan over the whole picture; a damaged one can claim thousands.
constexpr int kMaxJpegScans = 100;

bool SizeInRange(long width, long height) {
    return width > 0 && height > 0 && width <= kMaxDecodedSide && height <= kMaxDecodedSide &&
           width * height <= kMaxDecodedPixels;
}

// libjpeg reports a fatal error by calling error_exit, which must not return. We jump back to DecodeJpeg,
// past libjpeg's own C frames only: nothing between the setjmp and the library owns a C++ object.
struct JpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
};

char gJpegMessage[JMSG_LENGTH_MAX];

void JpegErrorExit(j_common_ptr info) {
    info->err->format_message(info, gJpegMessage);
    longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
}

// A warning means damaged data the library would patch over with grey, as far as the picture claims to
// reach: such a file is refused like any other damaged one.
void JpegStopOnWarning(j_common_ptr info, int level) {
    if (level < 0) JpegErrorExit(info);
}

void JpegCountScans(j_common_ptr info) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxJpegScans) {
        snprintf(gJpegMessage, sizeof gJpegMessage, "more than %d scans", kMaxJpegScans);
        longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
    }
}

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedImage& out, const char*& error) {
    jpeg_decompress_struct info;
    JpegErrorManager errors;
    jpeg_progress_mgr progress = {};
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = JpegErrorExit;
    errors.pub.emit_message = JpegStopOnWarning;
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
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.rgb.resize(size_t(out.width) * out.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.rgb.data() + size_t(info.output_scanline) * out.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
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
