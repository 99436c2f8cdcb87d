#include "menupictures.h"

#include <algorithm>
#include <cmath>

#include "app/gamedefs.h"
#include "filewriter.h"
#include "paintcanvas.h"
#include "pattern.h"
#include "trackdesign.h"
#include "trackpicture.h"

namespace {

// Fractal noise in 0 .. 1 whose features are about `scale` pixels across.
float Noise(float x, float y, uint32_t seed, float scale, int octaves) {
    return FractalNoise(x / scale, y / scale, seed, octaves);
}

float Smooth(float e0, float e1, float x) {
    const float t = std::min(1.0f, std::max(0.0f, (x - e0) / (e1 - e0)));
    return t * t * (3.0f - 2.0f * t);
}

// Colour of a vertical ramp of stops (position 0 .. 1, colour), positions ascending.
Color Ramp(const std::vector<std::pair<float, Color>>& stops, float t) {
    if (t <= stops.front().first)
        return stops.front().second;
    for (size_t i = 1; i < stops.size(); i++)
        if (t <= stops[i].first)
            return MixColor(stops[i - 1].second, stops[i].second,
                       (t - stops[i - 1].first) / (stops[i].first - stops[i - 1].first));
    return stops.back().second;
}

// Fine brushed grain plus slow blotches, for metal surfaces.
void Brush(PaintCanvas& c, uint32_t seed, float strength) {
    c.Shade([&](int x, int y, Color& p) {
        const float grain = Noise(float(x) * 0.15f, float(y) * 4.0f, seed, 6.0f, 2) - 0.5f;
        const float blotch = Noise(float(x), float(y), seed + 7u, 90.0f, 3) - 0.5f;
        p = ScaleColor(p, 1.0f + strength * (grain * 0.6f + blotch));
    });
}

void Rivet(PaintCanvas& c, float x, float y, float r) {
    c.FillCircle(x + r * 0.3f, y + r * 0.3f, r, {0.02f, 0.02f, 0.04f}, 0.7f);
    c.FillCircle(x, y, r, {0.36f, 0.40f, 0.48f});
    c.FillCircle(x - r * 0.3f, y - r * 0.3f, r * 0.45f, {0.62f, 0.66f, 0.74f}, 0.8f);
}

}  // namespace

RgbImage PaintChrome() {
    PaintCanvas c(256, 256);
    const std::vector<std::pair<float, Color>> stops = {{0.0f, {0.95f, 0.97f, 1.0f}},
                                                        {0.45f, {0.55f, 0.65f, 0.90f}},
                                                        {0.52f, {0.12f, 0.16f, 0.32f}},
                                                        {0.60f, {0.85f, 0.78f, 0.70f}},
                                                        {1.0f, {0.45f, 0.38f, 0.40f}}};
    c.Shade([&](int x, int y, Color& p) {
        const float wave = 0.03f * std::sin(float(x) * 0.05f);
        p = Ramp(stops, float(y) / 255.0f + wave);
    });
    return c.ToImage();
}

RgbImage PaintSand() {
    PaintCanvas c(256, 256, {0.80f, 0.62f, 0.40f});
    c.Shade([](int x, int y, Color& p) {
        const float ripple = std::sin((float(y) + 9.0f * Noise(float(x), float(y), 11u, 64.0f, 3)) * kPi / 8.0f);
        const float grain = Noise(float(x), float(y), 12u, 2.0f, 1) - 0.5f;
        p = ScaleColor(p, 1.0f + 0.07f * ripple + 0.12f * grain);
    });
    return c.ToImage();
}

RgbImage PaintMetal() {
    PaintCanvas c(256, 256, {0.30f, 0.33f, 0.40f});
    Brush(c, 21u, 0.35f);
    c.FillRect(0, 126, 256, 130, {0.08f, 0.09f, 0.12f});
    c.FillRect(0, 130, 256, 132, {0.55f, 0.58f, 0.66f}, 0.6f);
    for (float x : {16.0f, 240.0f})
        for (float y : {16.0f, 112.0f, 146.0f, 240.0f})
            Rivet(c, x, y, 5.0f);
    return c.ToImage();
}

RgbImage PaintDesertSky() {
    PaintCanvas c(1024, 512);
    const float horizon = 0.45f * 512.0f;
    const std::vector<std::pair<float, Color>> sky = {{0.0f, {0.07f, 0.12f, 0.38f}},
                                                      {0.55f, {0.30f, 0.42f, 0.70f}},
                                                      {0.85f, {0.88f, 0.62f, 0.45f}},
                                                      {1.0f, {1.0f, 0.78f, 0.48f}}};
    const float sunX = 720.0f, sunY = horizon - 55.0f;
    c.Shade([&](int x, int y, Color& p) {
        p = Ramp(sky, float(y) / horizon);
        // Thin streaks of cloud, lit from below by the low sun.
        const float streak = Noise(float(x) * 0.35f, float(y) * 2.5f, 31u, 90.0f, 5);
        const float band = Smooth(0.2f, 0.45f, float(y) / horizon) * (1.0f - Smooth(0.7f, 0.95f, float(y) / horizon));
        const float cloud = Smooth(0.55f, 0.75f, streak) * band;
        p = MixColor(p, {1.0f, 0.80f, 0.62f}, cloud * 0.55f);
        const float d = std::hypot(float(x) - sunX, (float(y) - sunY) * 1.3f);
        p = MixColor(p, {1.0f, 0.93f, 0.75f}, 0.55f * std::exp(-d / 90.0f));
    });
    c.FillCircle(sunX, sunY, 24.0f, {1.0f, 0.98f, 0.88f});
    // Mesas far away, dunes nearer; the ground below them meets the scene's sand floor.
    c.FillBelow([&](float x) {
        const float mesa = Smooth(0.55f, 0.6f, Noise(x, 0.0f, 41u, 260.0f, 2)) * 34.0f;
        return horizon - 6.0f - mesa - 8.0f * Noise(x, 3.0f, 42u, 40.0f, 3);
    }, {0.55f, 0.40f, 0.38f});
    c.FillBelow([&](float x) { return horizon + 4.0f - 14.0f * Noise(x, 9.0f, 43u, 150.0f, 3); },
                {0.78f, 0.56f, 0.36f});
    c.Shade([&](int x, int y, Color& p) {
        if (float(y) > horizon + 6.0f)
            p = ScaleColor(p, 0.92f + 0.16f * Noise(float(x), float(y), 44u, 24.0f, 3));
    });
    return c.ToImage();
}

RgbImage PaintLogo() {
    PaintCanvas c(512, 512, {0.04f, 0.05f, 0.16f});
    // Only rows 0 .. 255 are shown: a plate with the name, a swoosh and a thin border.
    c.Shade([](int x, int y, Color& p) {
        if (y < 256)
            p = MixColor({0.10f, 0.12f, 0.34f}, {0.02f, 0.03f, 0.10f}, float(y) / 255.0f + 0.1f * std::sin(float(x) * 0.01f));
    });
    const char* name = "ZEPHYRACE";
    const float size = 54.0f;
    const float x = (512.0f - PaintCanvas::TextWidth(name, size)) * 0.5f;
    c.Text(name, x + 4.0f, 142.0f, size, 11.0f, {0.0f, 0.0f, 0.0f}, 0.6f);
    c.Text(name, x, 138.0f, size, 11.0f, {0.55f, 0.62f, 0.95f});
    c.Text(name, x, 138.0f, size, 4.0f, {0.92f, 0.95f, 1.0f});
    float px = 40.0f, py = 200.0f;
    for (int i = 1; i <= 32; i++) {
        const float t = float(i) / 32.0f;
        const float sx = 40.0f + 432.0f * t, sy = 200.0f - 26.0f * std::sin(t * kPi);
        c.Line(px, py, sx, sy, 2.0f + 6.0f * std::sin(t * kPi), {0.95f, 0.62f, 0.28f});
        px = sx;
        py = sy;
    }
    c.FillRect(6, 6, 506, 9, {0.7f, 0.7f, 1.0f});
    c.FillRect(6, 247, 506, 250, {0.7f, 0.7f, 1.0f});
    c.FillRect(6, 6, 9, 250, {0.7f, 0.7f, 1.0f});
    c.FillRect(503, 6, 506, 250, {0.7f, 0.7f, 1.0f});
    return c.ToImage();
}

RgbImage PaintIcon(int size) {
    const float k = float(size) / 256.0f;
    PaintCanvas c(size, size);
    c.VerticalGradient({0.10f, 0.12f, 0.34f}, {0.02f, 0.03f, 0.10f});
    const float letter = 150.0f * k, x = (float(size) - PaintCanvas::TextWidth("Z", letter)) * 0.5f;
    c.Text("Z", x, 178.0f * k, letter, 30.0f * k, {0.55f, 0.62f, 0.95f});
    c.Text("Z", x, 178.0f * k, letter, 12.0f * k, {0.92f, 0.95f, 1.0f});
    float px = 24.0f * k, py = 222.0f * k;
    for (int i = 1; i <= 32; i++) {
        const float t = float(i) / 32.0f;
        const float sx = (24.0f + 208.0f * t) * k, sy = (222.0f - 24.0f * std::sin(t * kPi)) * k;
        c.Line(px, py, sx, sy, (3.0f + 9.0f * std::sin(t * kPi)) * k, {0.95f, 0.62f, 0.28f});
        px = sx;
        py = sy;
    }
    return c.ToImage();
}

RgbImage PaintPanel() {
    PaintCanvas c(512, 512, {0.16f, 0.17f, 0.22f});
    Brush(c, 51u, 0.45f);
    // Plates of 128 pixels with a dark seam, a lit upper edge and rivets in the corners.
    for (int i = 0; i <= 4; i++) {
        const float at = float(i) * 128.0f;
        c.FillRect(at - 2.0f, 0, at + 2.0f, 512, {0.03f, 0.03f, 0.05f});
        c.FillRect(0, at - 2.0f, 512, at + 2.0f, {0.03f, 0.03f, 0.05f});
        c.FillRect(at + 2.0f, 0, at + 3.0f, 512, {0.40f, 0.42f, 0.50f}, 0.5f);
        c.FillRect(0, at + 2.0f, 512, at + 3.0f, {0.40f, 0.42f, 0.50f}, 0.5f);
    }
    for (int py = 0; py < 4; py++)
        for (int px = 0; px < 4; px++)
            for (float dx : {12.0f, 116.0f})
                for (float dy : {12.0f, 116.0f})
                    Rivet(c, float(px) * 128.0f + dx, float(py) * 128.0f + dy, 4.0f);
    c.Shade([](int x, int y, Color& p) {
        const float d = std::hypot(float(x) - 256.0f, float(y) - 256.0f) / 362.0f;
        p = ScaleColor(p, 1.05f - 0.45f * d * d);
    });
    return c.ToImage();
}

RgbImage PaintLockAndChain() {
    // Painted on a dark backing, then everything a shape does not cover gets the colour key exactly, so
    // no soft edge blends into it.
    PaintCanvas picture(512, 256, {0.08f, 0.08f, 0.09f});
    PaintCanvas cover(512, 256);
    auto both = [&](auto draw) {
        draw(picture, false);
        draw(cover, true);
    };
    const Color white{1, 1, 1};
    // Two chains from the corners to the lock.
    for (int side = 0; side < 2; side++) {
        for (int k = 0; k < 2; k++) {
            const float x0 = side == 0 ? 10.0f : 502.0f, y0 = k == 0 ? 20.0f : 236.0f;
            const int links = 9;
            for (int l = 0; l < links; l++) {
                const float t0 = float(l) / float(links), t1 = (float(l) + 0.9f) / float(links);
                const float ax = x0 + (256.0f - x0) * t0, ay = y0 + (128.0f - y0) * t0;
                const float bx = x0 + (256.0f - x0) * t1, by = y0 + (128.0f - y0) * t1;
                const bool flat = l % 2 == 0;
                both([&](PaintCanvas& canvas, bool mask) {
                    const float w = flat ? 13.0f : 7.0f;
                    canvas.Line(ax, ay, bx, by, w + 4.0f, mask ? white : Color{0.25f, 0.26f, 0.28f});
                    if (!mask) {
                        canvas.Line(ax, ay, bx, by, w, {0.62f, 0.64f, 0.68f});
                        canvas.Line(ax, ay - 1.5f, bx, by - 1.5f, w * 0.3f, {0.9f, 0.92f, 0.95f}, 0.8f);
                        if (flat)
                            canvas.Line(ax, ay, bx, by, 3.0f, {0.1f, 0.1f, 0.12f});
                    }
                });
            }
        }
    }
    // The padlock: shackle, body, keyhole.
    both([&](PaintCanvas& canvas, bool mask) {
        const Color shackle = mask ? white : Color{0.70f, 0.72f, 0.78f};
        float px = 226.0f, py = 128.0f;
        for (int i = 1; i <= 24; i++) {
            const float a = kPi * float(i) / 24.0f;
            const float x = 256.0f - 30.0f * std::cos(a), y = 128.0f - 40.0f * std::sin(a);
            canvas.Line(px, py, x, y, 12.0f, shackle);
            px = x;
            py = y;
        }
        canvas.FillRect(212.0f, 118.0f, 300.0f, 200.0f, mask ? white : Color{0.72f, 0.55f, 0.16f});
        if (!mask) {
            canvas.FillRect(212.0f, 118.0f, 300.0f, 126.0f, {0.95f, 0.80f, 0.35f});
            canvas.FillRect(212.0f, 192.0f, 300.0f, 200.0f, {0.45f, 0.32f, 0.08f});
            canvas.FillCircle(256.0f, 152.0f, 9.0f, {0.08f, 0.06f, 0.04f});
            canvas.FillRect(252.0f, 152.0f, 260.0f, 178.0f, {0.08f, 0.06f, 0.04f});
        }
    });
    const Color key{53.0f / 255.0f, 191.0f / 255.0f, 203.0f / 255.0f};
    picture.Shade([&](int x, int y, Color& p) {
        if (cover.At(x, y).r < 0.5f)
            p = key;
    });
    RgbImage image = picture.ToImage();
    // Rounding could land a shape's pixel on the key; nudge those so only the background is see-through.
    for (int y = 0; y < image.height; y++)
        for (int x = 0; x < image.width; x++) {
            const uint8_t* p = image.At(x, y);
            if (cover.At(x, y).r >= 0.5f && p[0] == 53 && p[1] == 191 && p[2] == 203)
                image.Set(x, y, 54, 191, 203);
        }
    return image;
}

bool WriteTrackPictures(const std::string& root) {
    // Each track is drawn from its own files, read from the game's working folder as the game reads them.
    const GameBinFolder folder(root);
    if (!folder.ok())
        return false;
    bool ok = true;
    for (int n = 1; n <= kNumTracks && ok; n++) {
        // Open courses and canyons are seen from high up under their lids, so the way ahead shows; a tunnel from
        // inside it.
        const TrackShape shape = ThemeOf(DesignOf(n - 1)).shape;
        const CardView view = shape == SHAPE_TUNNEL ? CardView{7.0f, 3.0f, 9.0f}
                              : shape == SHAPE_OPEN ? CardView{6.0f, 30.0f, 24.0f}
                                                    : CardView{6.0f, 12.0f, 18.0f};
        RgbImage picture;
        ok = RenderTrackPicture(n, view, 512, 384, picture) &&
             WriteJpeg(folder.root() + "/Textures/track" + std::to_string(n) + ".jpg", picture);
    }
    return ok;
}
