#include <cstdio>

#include "app/log.h"
#include "platform/files.h"
#include "platform/imagedecode.h"
#include "splash/splash.h"

namespace {

constexpr int kMaxSplashSide = 4096;
constexpr long kMaxSplashFile = 64L << 20;

uint32_t Le32(const unsigned char* p) {
    return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

// The decoder fills a cut-off uncompressed bitmap with black; we would rather know it is cut off.
bool PixelsPresent(const std::vector<unsigned char>& bytes) {
    if (bytes.size() < 54) return false;
    const uint32_t offset = Le32(&bytes[10]);
    const int32_t width = static_cast<int32_t>(Le32(&bytes[18]));
    const int32_t height = static_cast<int32_t>(Le32(&bytes[22]));
    const uint32_t bits = bytes[28] | (uint32_t{bytes[29]} << 8);
    const uint32_t compression = Le32(&bytes[30]);
    if (compression != 0) return true;  // run-length data has no fixed size
    const uint64_t rowBytes = (static_cast<uint64_t>(width < 0 ? -int64_t{width} : width) * bits + 31) / 32 * 4;
    const uint64_t rows = static_cast<uint64_t>(height < 0 ? -int64_t{height} : height);
    return uint64_t{offset} + rowBytes * rows <= bytes.size();
}

}  // namespace

bool LoadSplashPicture(const char* path, SplashPicture& picture) {
    FILE* file = OpenGameFile(path, "rb");
    if (!file) {
        Log("Splash bitmap %s cannot be opened", path);
        return false;
    }
    std::vector<unsigned char> bytes;
    long size = -1;
    if (fseek(file, 0, SEEK_END) == 0) size = ftell(file);
    if (size > 0 && size <= kMaxSplashFile && fseek(file, 0, SEEK_SET) == 0) {
        bytes.resize(static_cast<size_t>(size));
        if (fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) bytes.clear();
    }
    fclose(file);
    DecodedImage image;
    const char* error = "";
    if (!PixelsPresent(bytes) || !DecodeImage(bytes.data(), bytes.size(), image, error) ||
        image.width > kMaxSplashSide || image.height > kMaxSplashSide) {
        Log("Splash bitmap %s is damaged", path);
        return false;
    }
    if (error)
        Log("Splash bitmap %s is damaged but shown: %s", path, error);
    picture.width = image.width;
    picture.height = image.height;
    picture.rgb = std::move(image.rgb);
    return true;
}
