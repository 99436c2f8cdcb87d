#include <cstdint>

#include "imagewriter.h"
#include "patch.h"
#include "scene/sgiimage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<uint8_t> sound = [] {
        GrayImage gray(9, 4, 0);
        for (int x = 0; x < 9; ++x)
            gray.At(x, 1) = uint8_t(x * 20);
        return EncodeBw(gray, true);
    }();
    std::vector<uint8_t> patched;
    PatchInput(data, size, sound, patched);
    BwImage image;
    const char* error = nullptr;
    if (ReadBwImage(data, size, image, error) && image.pixels.size() != size_t(image.width) * size_t(image.height))
        __builtin_trap();
    return 0;
}
