#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace {

// Rows of 5 bits, top first, most significant bit leftmost.
struct Glyph {
    char c;
    uint8_t rows[7];
};

const Glyph kGlyphs[] = {
    {'A', {14, 17, 17, 31, 17, 17, 17}}, {'B', {30, 17, 17, 30, 17, 17, 30}}, {'C', {14, 17, 16, 16, 16, 17, 14}},
    {'D', {30, 17, 17, 17, 17, 17, 30}}, {'E', {31, 16, 16, 30, 16, 16, 31}}, {'F', {31, 16, 16, 30, 16, 16, 16}},
    {'G', {14, 17, 16, 23, 17, 17, 15}}, {'H', {17, 17, 17, 31, 17, 17, 17}}, {'I', {14, 4, 4, 4, 4, 4, 14}},
    {'J', {7, 2, 2, 2, 2, 18, 12}},      {'K', {17, 18, 20, 24, 20, 18, 17}}, {'L', {16, 16, 16, 16, 16, 16, 31}},
    {'M', {17, 27, 21, 21, 17, 17, 17}}, {'N', {17, 17, 25, 21, 19, 17, 17}}, {'O', {14, 17, 17, 17, 17, 17, 14}},
    {'P', {30, 17, 17, 30, 16, 16, 16}}, {'Q', {14, 17, 17, 17, 21, 18, 13}}, {'R', {30, 17, 17, 30, 20, 18, 17}},
    {'S', {15, 16, 16, 14, 1, 1, 30}},   {'T', {31, 4, 4, 4, 4, 4, 4}},       {'U', {17, 17, 17, 17, 17, 17, 14}},
    {'V', {17, 17, 17, 17, 17, 10, 4}},  {'W', {17, 17, 17, 21, 21, 21, 10}}, {'X', {17, 17, 10, 4, 10, 17, 17}},
    {'Y', {17, 17, 10, 4, 4, 4, 4}},     {'Z', {31, 1, 2, 4, 8, 16, 31}},     {'0', {14, 17, 19, 21, 25, 17, 14}},
    {'1', {4, 12, 4, 4, 4, 4, 14}},      {'2', {14, 17, 1, 2, 4, 8, 31}},     {'3', {30, 1, 1, 14, 1, 1, 30}},
    {'!', {4, 4, 4, 4, 4, 0, 4}},        {'.', {0, 0, 0, 0, 0, 0, 4}},        {'-', {0, 0, 0, 14, 0, 0, 0}},
};

const Glyph* Find(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return &g;
    return nullptr;
}

}  // namespace

Rgb MixRounded(const Rgb& a, const Rgb& b, float t) {
    const Rgb m = Mix(a, b, t);
    return {std::round(m.r), std::round(m.g), std::round(m.b)};
}

Canvas::Canvas(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, 0) {}

void Canvas::Blend(int x, int y, Rgb colour, float alpha) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    const Rgb pixel = {float(p[0]), float(p[1]), float(p[2])};
    const Rgb mixed = MixRounded(pixel, colour, std::clamp(alpha, 0.0f, 1.0f));
    p[0] = static_cast<uint8_t>(mixed.r);
    p[1] = static_cast<uint8_t>(mixed.g);
    p[2] = static_cast<uint8_t>(mixed.b);
}

void Canvas::FillRect(int x0, int y0, int x1, int y1, Rgb colour, float alpha) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) Blend(x, y, colour, alpha);
}

void Canvas::FillCircle(float cx, float cy, float radius, Rgb colour, float alpha) {
    const int x0 = static_cast<int>(std::floor(cx - radius - 1)), x1 = static_cast<int>(std::ceil(cx + radius + 1));
    const int y0 = static_cast<int>(std::floor(cy - radius - 1)), y1 = static_cast<int>(std::ceil(cy + radius + 1));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float d = std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy);
            // One pixel of soft edge keeps the circles smooth.
            Blend(x, y, colour, alpha * std::clamp(radius - d + 0.5f, 0.0f, 1.0f));
        }
    }
}

void Canvas::VerticalGradient(Rgb top, Rgb bottom) {
    for (int y = 0; y < height; ++y)
        FillRect(0, y, width, y + 1, MixRounded(top, bottom, static_cast<float>(y) / static_cast<float>(height - 1)));
}

void Canvas::DrawText(int x, int y, int scale, const std::string& text, Rgb colour, float alpha) {
    for (char c : text) {
        if (const Glyph* g = Find(c)) {
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g->rows[row] & (16 >> col))
                        FillRect(x + col * scale, y + row * scale, x + (col + 1) * scale, y + (row + 1) * scale,
                                 colour, alpha);
        }
        x += 6 * scale;
    }
}

int Canvas::TextWidth(int scale, const std::string& text) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * 6 * scale - scale;
}
