#pragma once

#include <cstddef>
#include <cstdint>

// The game's one way of drawing in 2D, in window pixels from the lower-left corner, inside a flat pass
// (scene/glstate.h: the pass alone decides blending and texturing). Every call brings its own colour or
// texture, so no screen sets GL state for its pictures. Text is CBitmapFont::Print (hud/bitmapfont.h).

struct Rgba {
    float r, g, b, a;
};

struct Point2 {
    float x, y;
};

enum Shape2D { SHAPE_TRIANGLES, SHAPE_FAN, SHAPE_QUADS, SHAPE_LINES, SHAPE_LOOP };

void FillRect(float x0, float y0, float x1, float y1, const Rgba& colour);
// The outline of the rectangle, one pixel wide.
void FrameRect(float x0, float y0, float x1, float y1, const Rgba& colour);
void DrawLine(Point2 from, Point2 to, const Rgba& colour, float width = 1.0f);
// Any shape in one colour; its lines `width` pixels wide.
void DrawShape(Shape2D shape, const Point2* points, size_t count, const Rgba& colour, float width = 1.0f);
// A shape with a colour at each point, shaded smoothly between them.
void DrawShadedShape(Shape2D shape, const Point2* points, const Rgba* colours, size_t count);
// `texture` on the rectangle (x0, y0) - (x1, y1), s running from 0 at the left to 1 at the right and t from
// tBottom at the bottom to tTop at the top, its colours times `tint`; in a FLAT_PICTURE, FLAT_CUTOUT or
// FLAT_GLOW pass.
void DrawPicture(uint32_t texture, float x0, float y0, float x1, float y1, float tBottom, float tTop,
                 const Rgba& tint = {1.0f, 1.0f, 1.0f, 1.0f});

// What is drawn until EndTurn has its origin at (x, y), is turned by `degrees` anticlockwise and is cut to the
// window rectangle `clip` (x, y, width, height).
void BeginTurn(float x, float y, float degrees, const int clip[4]);
void EndTurn();
