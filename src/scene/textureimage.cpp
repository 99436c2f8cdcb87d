#include "scene/textureimage.h"

#include "platform/imagedecode.h"

#include <algorithm>
#include <cmath>

int TextureSide(int n, int maxSize) {
    if (n > maxSize)
        return maxSize;
    n = std::max(n, 1);
    const float exponent = std::floor(std::log(float(n)) / std::log(2.0f) + 0.5f);
    return std::min(1 << int(exponent), maxSize);
}

bool PrepareTextureImage(const uint8_t* data, size_t size, int maxSize, TextureImage& out, const char*& error) {
    out = TextureImage();
    DecodedImage picture;
    if (!DecodeImage(data, size, picture, error))
        return false;
    out.width = TextureSide(picture.width, maxSize);
    out.height = TextureSide(picture.height, maxSize);
    const std::vector<uint8_t> rgb = ScaleBottomUp(picture, out.width, out.height);
    out.rgba.resize(size_t(out.width) * out.height * 4);
    uint8_t* dst = out.rgba.data();
    for (size_t i = 0; i < rgb.size(); i += 3, dst += 4) {
        dst[0] = rgb[i];
        dst[1] = rgb[i + 1];
        dst[2] = rgb[i + 2];
        const bool keyed = rgb[i] == kColourKey[0] && rgb[i + 1] == kColourKey[1] && rgb[i + 2] == kColourKey[2];
        dst[3] = keyed ? 0 : 255;
        out.transparent = out.transparent || keyed;
    }
    return true;
}
