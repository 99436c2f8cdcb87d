#include "hud/draw2d.h"

#include <GL/glew.h>

namespace {

const GLenum kModes[] = {GL_TRIANGLES, GL_TRIANGLE_FAN, GL_QUADS, GL_LINES, GL_LINE_LOOP};

// `colours` holds one colour for all points, or one for each when `each`; `st`, when given, a texture
// coordinate for each point.
void Emit(Shape2D shape, const Point2* points, size_t count, const Rgba* colours, bool each,
          const Point2* st = nullptr) {
    glBegin(kModes[shape]);
    for (size_t i = 0; i < count; ++i) {
        if (each || i == 0) {
            const Rgba& c = colours[each ? i : 0];
            glColor4f(c.r, c.g, c.b, c.a);
        }
        if (st)
            glTexCoord2f(st[i].x, st[i].y);
        glVertex2f(points[i].x, points[i].y);
    }
    glEnd();
}

}  // namespace

void DrawShape(Shape2D shape, const Point2* points, size_t count, const Rgba& colour, float width) {
    glLineWidth(width);  // the flat pass puts the width back
    Emit(shape, points, count, &colour, false);
}

void DrawShadedShape(Shape2D shape, const Point2* points, const Rgba* colours, size_t count) {
    Emit(shape, points, count, colours, true);
}

void FillRect(float x0, float y0, float x1, float y1, const Rgba& colour) {
    const Point2 corners[4] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    DrawShape(SHAPE_QUADS, corners, 4, colour);
}

void FrameRect(float x0, float y0, float x1, float y1, const Rgba& colour) {
    const Point2 corners[4] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    DrawShape(SHAPE_LOOP, corners, 4, colour);
}

void DrawLine(Point2 from, Point2 to, const Rgba& colour, float width) {
    const Point2 ends[2] = {from, to};
    DrawShape(SHAPE_LINES, ends, 2, colour, width);
}

void DrawPicture(uint32_t texture, float x0, float y0, float x1, float y1, float tBottom, float tTop,
                 const Rgba& tint) {
    const Point2 corners[4] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    const Point2 st[4] = {{0, tBottom}, {1, tBottom}, {1, tTop}, {0, tTop}};
    glBindTexture(GL_TEXTURE_2D, texture);
    Emit(SHAPE_QUADS, corners, 4, &tint, false, st);
}

void BeginTurn(float x, float y, float degrees, const int clip[4]) {
    glPushMatrix();
    glTranslatef(x, y, 0.0f);
    glRotatef(degrees, 0.0f, 0.0f, 1.0f);
    glEnable(GL_SCISSOR_TEST);
    glScissor(clip[0], clip[1], clip[2], clip[3]);
}

void EndTurn() {
    glPopMatrix();
    glDisable(GL_SCISSOR_TEST);
}
