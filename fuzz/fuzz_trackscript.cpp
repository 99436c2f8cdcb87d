#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "data/trackscript.h"
#include "fuzzinput.h"
#include "trackscriptwriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = OpenInput(data, size);
    if (!f)
        return 0;
    static TrackSettings s;  // kept between runs, as the game keeps its settings between scripts
    ReadTrackSettings(f, "fuzz", s);
    fclose(f);
    // What the rest of the game relies on.
    if (memchr(s.title, 0, sizeof s.title) == nullptr || memchr(s.trackModel, 0, sizeof s.trackModel) == nullptr ||
        memchr(s.skyModel, 0, sizeof s.skyModel) == nullptr || memchr(s.vehicleScript, 0, sizeof s.vehicleScript) == nullptr)
        __builtin_trap();
    for (const AnimationCommand& c : s.animationCommands) {
        if (c.action < 0 || c.action >= NUM_ACTIONS || c.text.size() > kMaxWordLength)
            __builtin_trap();
        if (FormOfAction(c.action).ranged && !(c.end >= c.start))
            __builtin_trap();
    }
    for (size_t i = 0; i < s.lights.size(); ++i)
        if (s.lights[i].color[3] != 1.0f)
            __builtin_trap();
    // Whatever the writer can express, it writes as text that parses back to the same record.
    std::string text, again, error;
    if (FormatTrackScript(s, text, error)) {
        FILE* g = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
        TrackSettings t;
        ReadTrackSettings(g, "fuzz", t);
        fclose(g);
        if (!FormatTrackScript(t, again, error) || again != text)
            __builtin_trap();
    }
    return 0;
}
