#include "fuzz.h"
#include "imagewriter.h"
#include "scene/textureimage.h"

// The JPEG/BMP path up to the pixels handed to GL: decoding, scaling and the colour key.
FUZZ_TARGET {
    static const RgbImage picture(24, 10, 0x35, 0xBF, 0xCB);
    static const std::vector<uint8_t> bmp = EncodeBmp(picture), jpeg = EncodeJpeg(picture);
    PatchInput(data, size, (size > 0 && (data[0] & 2)) ? jpeg : bmp);
    TextureImage image;
    const char* error = nullptr;
    if (PrepareTextureImage(data, size, 512, image, error))
        Require(image.rgba.size() == size_t(image.width) * size_t(image.height) * 4);
}
