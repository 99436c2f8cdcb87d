#include "hud/hudscript.h"

#include <cstring>

#include "app/log.h"
#include "data/scriptline.h"

namespace {

const char* const kInstrumentKeywords[NUM_HUD_INSTRUMENTS] = {
    "SPEEDOMETER_TEXT", "SPEEDOMETER_GRAPHICAL", "TIMER", "DAMAGEINDICATOR_TEXT", "DAMAGEINDICATOR_GRAPHICAL",
    "ATTITUDEINDICATOR"};

void ReadShapeLine(const char* line, float width, float height, HudLayout& layout, bool& inside) {
    HudVertex v;
    HudTriangle t;
    HudLine l;
    if (sscanf(line, "VERTEX %f %f", &v.x, &v.y) == 2) {
        layout.vertices.push_back({v.x * width, v.y * height});
    } else if (sscanf(line, "TRIANGLE %d %d %d %f %f %f %f", &t.i0, &t.i1, &t.i2, &t.red, &t.green, &t.blue,
                      &t.alpha) == 7) {
        layout.triangles.push_back(t);
    } else if (sscanf(line, "LINE %d %d %f %f %f %f", &l.i0, &l.i1, &l.red, &l.green, &l.blue, &l.alpha) == 6) {
        layout.lines.push_back(l);
    } else if (strcmp(line, "BEGININSTRUMENT\n") == 0) {
        inside = true;
    } else {
        Log("Illegal hud file command %s", line);
    }
}

// One line inside a BEGININSTRUMENT block; `current` is the block's instrument (null until a legal TYPE).
void ReadInstrumentLine(const char* line, int number, float width, float height, HudLayout& layout,
                        std::unique_ptr<HudInstrument>& current, bool& inside) {
    char word[kLineBufferSize];
    float a, b;
    if (sscanf(line, "TYPE %254s", word) == 1) {
        const int code = HudInstrumentCode(word);
        if (code < 0) {
            Log("Illegal hud instrument type %s", word);
            return;
        }
        current.reset(new HudInstrument());
        current->type = code;
    } else if (sscanf(line, "POSITION %f %f", &a, &b) == 2) {
        if (current) {
            current->x = a * width;
            current->y = b * height;
        }
    } else if (sscanf(line, "SIZE %f", &a) == 1) {
        if (current)
            current->size = a * width;
    } else if (strcmp(line, "ENDINSTRUMENT\n") == 0) {
        inside = false;
        if (!current) {
            Log("Hud instrument block without a legal TYPE ends in line %d", number);
            return;
        }
        const int type = current->type;
        layout.instruments[type] = std::move(current);
    } else {
        Log("Illegal hud instrument attribute %s in line %d", line, number);
    }
}

}  // namespace

int HudInstrumentCode(const char* keyword) {
    for (int code = 0; code < NUM_HUD_INSTRUMENTS; ++code)
        if (strcmp(keyword, kInstrumentKeywords[code]) == 0)
            return code;
    return -1;
}

void ReadHudScript(FILE* file, float width, float height, HudLayout& layout) {
    layout = HudLayout();
    char line[kLineBufferSize];
    bool inside = false;
    std::unique_ptr<HudInstrument> current;
    for (int number = 1; ReadScriptLine(file, line); ++number) {
        if (!inside) {
            ReadShapeLine(line, width, height, layout, inside);
            current.reset();
        } else {
            ReadInstrumentLine(line, number, width, height, layout, current, inside);
        }
    }
}
