#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "imagewriter.h"

struct Color {
    float r = 0.0f, g = 0.0f, b = 0.0f;
};
Color MixColor(const Color& a, const Color& b, float t);  // a at t = 0, b at t = 1
Color ScaleColor(const Color& c, float k);


// A picture to paint on in floating point, top row first, x to the right and y down; every shape is
// anti-aliased and blended with an opacity.
class PaintCanvas {
public:
    PaintCanvas(int width, int height, const Color& fill = {});

    void Blend(int x, int y, const Color& c, float alpha);
    const Color& At(int x, int y) const { return pixels_[size_t(y) * width + x]; }

    // Runs shade(x, y, colour) over every pixel (x, y in pixels) to change it in place.
    void Shade(const std::function<void(int x, int y, Color& c)>& shade);
    // Vertical gradient from `top` (row 0) to `bottom` (last row).
    void VerticalGradient(const Color& top, const Color& bottom);
    void FillRect(float x0, float y0, float x1, float y1, const Color& c, float alpha = 1.0f);
    void FillCircle(float cx, float cy, float radius, const Color& c, float alpha = 1.0f);
    // A bar with round ends from a to b.
    void Line(float ax, float ay, float bx, float by, float thickness, const Color& c, float alpha = 1.0f);
    // Fills every column from the curve height(x) (in pixels from the top) down to the bottom edge.
    void FillBelow(const std::function<float(float x)>& height, const Color& c, float alpha = 1.0f);
    // Stroke-font text with its baseline's left end at (x, y) and capitals `size` pixels high.
    void Text(const char* text, float x, float y, float size, float thickness, const Color& c, float alpha = 1.0f);
    static float TextWidth(const char* text, float size);

    RgbImage ToImage() const;

    int width;
    int height;

private:
    std::vector<Color> pixels_;
};
