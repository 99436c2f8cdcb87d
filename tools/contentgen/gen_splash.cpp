// Textures/splash.bmp: the title picture with the donation button where the splash window takes clicks, and
// support.html, the page that button opens (its source lies beside this file).
#include <cstdio>
#include <filesystem>

#include "canvas.h"
#include "contentgen.h"
#include "filewriter.h"
#include "platform/files.h"

namespace {

// The button's place is fixed by the splash window: x 60..188, y 72..113 from the top-left.
constexpr int kButtonLeft = 60, kButtonTop = 72, kButtonRight = 189, kButtonBottom = 114;

void Put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A 24-bit uncompressed BMP, rows bottom first and padded to four bytes.
std::string EncodeBmp(const Canvas& c) {
    const uint32_t rowBytes = (static_cast<uint32_t>(c.width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(c.height);
    std::string out = "BM";
    Put(out, 54 + imageBytes, 4);
    Put(out, 0, 4);
    Put(out, 54, 4);
    Put(out, 40, 4);
    Put(out, static_cast<uint32_t>(c.width), 4);
    Put(out, static_cast<uint32_t>(c.height), 4);
    Put(out, 1, 2);
    Put(out, 24, 2);
    Put(out, 0, 4);
    Put(out, imageBytes, 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, 0, 4);
    Put(out, 0, 4);
    for (int y = c.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < c.width; ++x) {
            const uint8_t* p = &c.rgb[(static_cast<size_t>(y) * c.width + x) * 3];
            row += static_cast<char>(p[2]);
            row += static_cast<char>(p[1]);
            row += static_cast<char>(p[0]);
        }
        row.resize(rowBytes, '\0');
        out += row;
    }
    return out;
}

Canvas SplashPicture() {
    Canvas c(400, 260);
    c.VerticalGradient({12, 18, 60}, {70, 40, 110});
    // Sunset glow and a track running to the horizon.
    c.FillCircle(300.0f, 175.0f, 60.0f, {250, 150, 70}, 0.55f);
    c.FillRect(0, 175, 400, 260, {25, 20, 40});
    for (int y = 176; y < 260; ++y) {
        const int half = (y - 175) * 2;
        c.FillRect(300 - half, y, 300 + half, y + 1, {60, 60, 80});
        if ((y / 6) % 2 == 0) c.FillRect(299 - half / 12, y, 301 + half / 12, y + 1, {230, 220, 120});
    }
    // The hovering vehicle: a wedge over its own glow.
    c.FillCircle(300.0f, 150.0f, 26.0f, {120, 200, 255}, 0.3f);
    for (int y = 0; y < 24; ++y) c.FillRect(300 - y * 2, 132 + y, 300 + y * 2, 133 + y, {210, 220, 235});
    c.FillRect(266, 156, 334, 160, {90, 180, 255});

    const std::string title = "ZEPHYRACE";
    c.DrawText((400 - Canvas::TextWidth(5, title)) / 2 + 3, 23, 5, title, {0, 0, 0}, 0.5f);
    c.DrawText((400 - Canvas::TextWidth(5, title)) / 2, 20, 5, title, {255, 230, 120});

    c.FillRect(kButtonLeft, kButtonTop, kButtonRight, kButtonBottom, {250, 250, 250});
    c.FillRect(kButtonLeft + 2, kButtonTop + 2, kButtonRight - 2, kButtonBottom - 2, {230, 110, 30});
    c.FillRect(kButtonLeft + 2, kButtonTop + 2, kButtonRight - 2, kButtonTop + 12, {255, 160, 70});
    const std::string donate = "DONATE";
    c.DrawText(kButtonLeft + (kButtonRight - kButtonLeft - Canvas::TextWidth(3, donate)) / 2, kButtonTop + 11, 3,
               donate, {255, 255, 255});

    const std::string hint = "PRESS ANY KEY";
    c.DrawText((400 - Canvas::TextWidth(2, hint)) / 2, 236, 2, hint, {200, 200, 230});
    return c;
}

}  // namespace

bool GenerateSplash(const std::string& root) {
    std::error_code error;
    std::filesystem::create_directories(root + "/Textures", error);
    const std::string path = root + "/Textures/splash.bmp";
    if (!WriteFileAtomically(path.c_str(), EncodeBmp(SplashPicture()))) {
        fprintf(stderr, "contentgen: cannot write %s\n", path.c_str());
        return false;
    }
    return CopyFileTo(SUPPORT_PAGE_SOURCE, root + "/support.html");
}
