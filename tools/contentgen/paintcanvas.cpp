#include "paintcanvas.h"

#include <algorithm>
#include <cmath>

#include "strokefont.h"

namespace {

float Clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

}  // namespace

Color MixColor(const Color& a, const Color& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Color ScaleColor(const Color& c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}

PaintCanvas::PaintCanvas(int width, int height, const Color& fill)
    : width(width), height(height), pixels_(size_t(width) * size_t(height), fill) {}

void PaintCanvas::Blend(int x, int y, const Color& c, float alpha) {
    if (x < 0 || y < 0 || x >= width || y >= height || alpha <= 0.0f)
        return;
    Color& p = pixels_[size_t(y) * width + x];
    p = MixColor(p, c, std::min(alpha, 1.0f));
}

void PaintCanvas::Shade(const std::function<void(int, int, Color&)>& shade) {
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            shade(x, y, pixels_[size_t(y) * width + x]);
}

void PaintCanvas::VerticalGradient(const Color& top, const Color& bottom) {
    Shade([&](int, int y, Color& c) { c = MixColor(top, bottom, float(y) / float(std::max(1, height - 1))); });
}

void PaintCanvas::FillRect(float x0, float y0, float x1, float y1, const Color& c, float alpha) {
    for (int y = std::max(0, int(y0)); y < std::min(height, int(std::ceil(y1))); y++)
        for (int x = std::max(0, int(x0)); x < std::min(width, int(std::ceil(x1))); x++) {
            const float cover = Clamp01(std::min(float(x) + 1.0f, x1) - std::max(float(x), x0)) *
                                Clamp01(std::min(float(y) + 1.0f, y1) - std::max(float(y), y0));
            Blend(x, y, c, alpha * cover);
        }
}

void PaintCanvas::FillCircle(float cx, float cy, float radius, const Color& c, float alpha) {
    for (int y = std::max(0, int(cy - radius - 1)); y <= std::min(height - 1, int(cy + radius + 1)); y++)
        for (int x = std::max(0, int(cx - radius - 1)); x <= std::min(width - 1, int(cx + radius + 1)); x++) {
            const float d = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy);
            Blend(x, y, c, alpha * Clamp01(radius - d + 0.5f));
        }
}

void PaintCanvas::Line(float ax, float ay, float bx, float by, float thickness, const Color& c, float alpha) {
    const float r = thickness * 0.5f;
    const float dx = bx - ax, dy = by - ay;
    const float len2 = std::max(dx * dx + dy * dy, 1e-6f);
    const int xMin = std::max(0, int(std::min(ax, bx) - r - 1)), xMax = std::min(width - 1, int(std::max(ax, bx) + r + 1));
    const int yMin = std::max(0, int(std::min(ay, by) - r - 1)), yMax = std::min(height - 1, int(std::max(ay, by) + r + 1));
    for (int y = yMin; y <= yMax; y++)
        for (int x = xMin; x <= xMax; x++) {
            const float px = float(x) + 0.5f - ax, py = float(y) + 0.5f - ay;
            const float t = Clamp01((px * dx + py * dy) / len2);
            const float d = std::hypot(px - t * dx, py - t * dy);
            Blend(x, y, c, alpha * Clamp01(r - d + 0.5f));
        }
}

void PaintCanvas::FillBelow(const std::function<float(float)>& curve, const Color& c, float alpha) {
    for (int x = 0; x < width; x++) {
        const float top = curve(float(x) + 0.5f);
        for (int y = std::max(0, int(top)); y < height; y++)
            Blend(x, y, c, alpha * Clamp01(float(y) + 1.0f - top));
    }
}

void PaintCanvas::Text(const char* text, float x, float y, float size, float thickness, const Color& c, float alpha) {
    const float k = size / kGlyphHeight;
    ForEachStrokeBar(text, [&](const StrokePoint& a, const StrokePoint& b) {
        Line(x + a.x * k, y - a.y * k, x + b.x * k, y - b.y * k, thickness, c, alpha);
    });
}

float PaintCanvas::TextWidth(const char* text, float size) {
    return StrokeTextWidth(text) * size / kGlyphHeight;
}

RgbImage PaintCanvas::ToImage() const {
    RgbImage image(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const Color& p = At(x, y);
            image.Set(x, y, uint8_t(std::lround(Clamp01(p.r) * 255.0f)), uint8_t(std::lround(Clamp01(p.g) * 255.0f)),
                      uint8_t(std::lround(Clamp01(p.b) * 255.0f)));
        }
    return image;
}
