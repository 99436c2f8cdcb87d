#include "fuzz.h"
#include "imagewriter.h"
#include "scene/sgiimage.h"

FUZZ_TARGET {
    static const std::vector<uint8_t> sound = [] {
        GrayImage gray(9, 4, 0);
        for (int x = 0; x < 9; ++x)
            gray.At(x, 1) = uint8_t(x * 20);
        return EncodeBw(gray, true);
    }();
    PatchInput(data, size, sound);
    BwImage image;
    const char* error = nullptr;
    if (ReadBwImage(data, size, image, error))
        Require(image.pixels.size() == size_t(image.width) * size_t(image.height));
}
