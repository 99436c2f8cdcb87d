#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rgb.h"

// An RGB picture, rows top first, for the generated splash bitmap and movie frames.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    Canvas(int w, int h);
    void Blend(int x, int y, Rgb colour, float alpha);
    void FillRect(int x0, int y0, int x1, int y1, Rgb colour, float alpha = 1.0f);  // x1, y1 exclusive
    void FillCircle(float cx, float cy, float radius, Rgb colour, float alpha = 1.0f);
    void VerticalGradient(Rgb top, Rgb bottom);
    // Capital letters, digits and a few marks in a 5x7 pixel font, each pixel `scale` wide.
    void DrawText(int x, int y, int scale, const std::string& text, Rgb colour, float alpha = 1.0f);
    static int TextWidth(int scale, const std::string& text);
};

// Mix rounded to whole channel values, as the canvas stores them.
Rgb MixRounded(const Rgb& a, const Rgb& b, float t);
