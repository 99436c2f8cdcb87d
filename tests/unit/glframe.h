#pragma once

#include <GL/glew.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "data/settings.h"
#include "glcontext.h"
#include "platform/fontface.h"

// The whole colour buffer read back at once, addressed from the lower-left corner.
struct GlFrame {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    static GlFrame Grab(int width, int height) {
        GlFrame f;
        f.width = width;
        f.height = height;
        f.rgb.resize(size_t(width * height * 3));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, f.rgb.data());
        return f;
    }
    const unsigned char* At(int x, int y) const { return &rgb[size_t((y * width + x) * 3)]; }
    bool Lit(int x, int y) const { return At(x, y)[0] | At(x, y)[1] | At(x, y)[2]; }
    bool Is(int x, int y, int r, int g, int b) const {
        const unsigned char* p = At(x, y);
        return std::abs(p[0] - r) < 12 && std::abs(p[1] - g) < 12 && std::abs(p[2] - b) < 12;
    }
    int LitCount() const {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                n += Lit(x, y) ? 1 : 0;
        return n;
    }
    // Lowest row, leftmost and rightmost column with a lit pixel; -1 when none.
    void InkBounds(int& left, int& right, int& bottom) const {
        left = right = bottom = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (Lit(x, y)) {
                    if (bottom < 0)
                        bottom = y;
                    if (left < 0 || x < left)
                        left = x;
                    right = std::max(right, x);
                }
    }
};

// An off-screen window of the given size for text and HUD drawing: the settings name its size and the HUD face
// "Beware" is the packaged font the game ships. Everything is put back afterwards.
class TestScreen {
public:
    bool Open(int width, int height) {
        if (!MakeTestGLContext())
            return false;
        saved = gSettings;
        gSettings.screenWidth = width;
        gSettings.screenHeight = height;
        RegisterPrivateFontFile("/usr/share/fonts/opentype/ferrite-core/FerriteCoreDX-Regular.otf", L"Beware");
        frame.reset(new TestFramebuffer(width, height));
        return true;
    }
    ~TestScreen() {
        if (!frame)
            return;
        frame.reset();
        UnregisterPrivateFontFiles();
        gSettings = saved;
    }

private:
    GameSettings saved;
    std::unique_ptr<TestFramebuffer> frame;
};
