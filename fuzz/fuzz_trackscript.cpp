#include "data/trackscript.h"
#include "fuzz.h"
#include "trackscriptwriter.h"

FUZZ_TARGET {
    static TrackSettings s;  // kept between runs, as the game keeps its settings between scripts
    ReadInput(data, size, [](FILE* f) { ReadTrackSettings(f, "fuzz", s); });
    // What the rest of the game relies on.
    Require(memchr(s.title, 0, sizeof s.title) && memchr(s.trackModel, 0, sizeof s.trackModel) &&
            memchr(s.skyModel, 0, sizeof s.skyModel) && memchr(s.vehicleScript, 0, sizeof s.vehicleScript));
    for (const AnimationCommand& c : s.animationCommands) {
        Require(c.action >= 0 && c.action < NUM_ACTIONS && c.text.size() <= kMaxWordLength);
        Require(!FormOfAction(c.action).ranged || c.end >= c.start);
    }
    for (size_t i = 0; i < s.lights.size(); ++i)
        Require(s.lights[i].color[3] == 1.0f);
    // Whatever the writer can express, it writes as text that parses back to the same record.
    std::string text, again, error;
    if (FormatTrackScript(s, text, error)) {
        TrackSettings t;
        ReadInput(reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                  [&t](FILE* g) { ReadTrackSettings(g, "fuzz", t); });
        Require(FormatTrackScript(t, again, error) && again == text);
    }
}
