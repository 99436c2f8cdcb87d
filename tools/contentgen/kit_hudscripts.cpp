// The vehicles' HUD layouts: a dark instrument strip with all six instruments, a timer plate and a centre
// mark; each vehicle has its own tint and arrangement. The instruments' texts are pale, so the panels under
// them are dark and nearly opaque: they read over a sunlit desert as over a night sky.
#include "hudscripts.h"

#include <cstdio>

namespace {

struct Tint {
    float r, g, b;
};

struct HudStyle {
    Tint tint;
    bool mirrored;     // dial on the right, damage on the left
    float dialSize;    // fractions of the window width
    float attitudeSize;
};

const HudStyle kStyles[] = {
    {{0.25f, 0.3f, 0.6f}, false, 0.20f, 0.12f},
    {{0.2f, 0.5f, 0.3f}, true, 0.20f, 0.12f},
    {{0.6f, 0.45f, 0.15f}, false, 0.22f, 0.13f},
    {{0.55f, 0.2f, 0.25f}, true, 0.22f, 0.12f},
};
static_assert(sizeof(kStyles) / sizeof(kStyles[0]) == kNumVehicles, "one HUD for every vehicle of the game");

// The panels: the tint darkened, and little of the scene showing through.
constexpr float kPanelShade = 0.3f;
constexpr float kPanelAlpha = 0.85f;

class ScriptWriter {
public:
    int Vertex(float x, float y) {
        Append("VERTEX %f %f\n", x, y);
        return vertices++;
    }
    // A filled rectangle from two triangles; returns its first vertex.
    int Panel(float x0, float y0, float x1, float y1, const Tint& c, float alpha) {
        const int v = Vertex(x0, y0);
        Vertex(x1, y0);
        Vertex(x1, y1);
        Vertex(x0, y1);
        Append("TRIANGLE %d %d %d %f %f %f %f\n", v, v + 1, v + 2, c.r, c.g, c.b, alpha);
        Append("TRIANGLE %d %d %d %f %f %f %f\n", v, v + 2, v + 3, c.r, c.g, c.b, alpha);
        return v;
    }
    void Line(int i0, int i1, const Tint& c) { Append("LINE %d %d %f %f %f %f\n", i0, i1, c.r, c.g, c.b, 1.0f); }
    void Instrument(const char* type, float x, float y, float size) {
        Append("BEGININSTRUMENT\nTYPE %s\nPOSITION %f %f\nSIZE %f\nENDINSTRUMENT\n", type, x, y, size);
    }
    const std::string& Text() const { return text; }

private:
    template <typename... Args>
    void Append(const char* format, Args... args) {
        char line[256];
        snprintf(line, sizeof(line), format, args...);
        text += line;
    }

    std::string text;
    int vertices = 0;
};

// x of something `width` wide at `x` on the left-hand layout, moved to the other side when mirrored.
float Side(const HudStyle& style, float x, float width) {
    return style.mirrored ? 1.0f - x - width : x;
}

}  // namespace

std::string HudScriptText(int vehicle) {
    const HudStyle& style = kStyles[(vehicle % kNumVehicles + kNumVehicles) % kNumVehicles];
    ScriptWriter w;
    const Tint edge = {style.tint.r + 0.3f, style.tint.g + 0.3f, style.tint.b + 0.3f};
    const Tint panel = {style.tint.r * kPanelShade, style.tint.g * kPanelShade, style.tint.b * kPanelShade};
    // The instrument strip along the bottom, with a bright top edge; in a wide window it still holds the
    // dial's top labels and the attitude indicator.
    const int strip = w.Panel(0.0f, 0.0f, 1.0f, 0.22f, panel, kPanelAlpha);
    w.Line(strip + 3, strip + 2, edge);
    // The timer plate at the top centre, framed, deep enough for the ghost's gap and the split under the timer.
    const int plate = w.Panel(0.41f, 0.84f, 0.59f, 0.985f, panel, kPanelAlpha);
    for (int i = 0; i < 4; ++i)
        w.Line(plate + i, plate + (i + 1) % 4, edge);
    // A small cross at the centre of the view.
    const int cross = w.Vertex(0.49f, 0.5f);
    w.Vertex(0.51f, 0.5f);
    w.Vertex(0.5f, 0.487f);
    w.Vertex(0.5f, 0.513f);
    w.Line(cross, cross + 1, edge);
    w.Line(cross + 2, cross + 3, edge);

    w.Instrument("TIMER", 0.4375f, 0.925f, 0.1f);
    w.Instrument("SPEEDOMETER_GRAPHICAL", Side(style, 0.02f, style.dialSize), 0.03f, style.dialSize);
    w.Instrument("SPEEDOMETER_TEXT", Side(style, 0.04f + style.dialSize, 0.15f), 0.1f, 0.1f);
    w.Instrument("ATTITUDEINDICATOR", 0.5f - style.attitudeSize / 2, 0.01f, style.attitudeSize);
    // Both damage instruments show their message at about one height, running to the right: the bar's
    // beside it, the read-out's under it. So the bar stands far enough from the right edge for its message,
    // and where it is on the left, the read-out starts past the end of that message.
    w.Instrument("DAMAGEINDICATOR_TEXT", style.mirrored ? 0.218f : 0.58f, 0.11f, 0.1f);
    w.Instrument("DAMAGEINDICATOR_GRAPHICAL", style.mirrored ? 0.0f : 0.77f, 0.01f, 0.1f);
    return w.Text();
}

