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
    bool Is(int x, int y, int r, int g, int b) const {
        const unsigned char* p = &rgb[size_t((y * width + x) * 3)];
        return std::abs(p[0] - r) < 12 && std::abs(p[1] - g) < 12 && std::abs(p[2] - b) < 12;
    }
    bool Lit(size_t pixel) const { return rgb[pixel * 3] | rgb[pixel * 3 + 1] | rgb[pixel * 3 + 2]; }
    int LitCount() const {
        int n = 0;
        for (size_t i = 0; i < rgb.size() / 3; ++i)
            n += Lit(i) ? 1 : 0;
        return n;
    }
    // The rightmost column with a lit pixel; -1 when none.
    int RightmostInk() const {
        int right = -1;
        for (size_t i = 0; i < rgb.size() / 3; ++i)
            if (Lit(i))
                right = std::max(right, int(i % size_t(width)));
        return right;
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
