// Recorded vehicle paths and ghosts: any bytes must parse without crashing and leave samples in time order;
// the ghost reader takes a text whole or not at all.
#include "fuzz.h"
#include "race/recording.h"

FUZZ_TARGET {
    VehicleRecording recording;
    recording.Parse(reinterpret_cast<const char*>(data), size, "fuzz");
    for (size_t i = 1; i < recording.samples.size(); ++i)
        Require(!(recording.samples[i].time < recording.samples[i - 1].time));
    float t = -1.0f;
    for (int i = 0; i < 64; ++i, t += 0.37f) recording.Sample(t);

    std::vector<RecordingSample> ghost;
    std::string why;
    if (ReadWholeRecording(reinterpret_cast<const char*>(data), size, ghost, why))
        // Every line is a sample, so the lenient reader finds the same ones.
        Require(!ghost.empty() && ghost.size() == recording.samples.size());
    else
        Require(ghost.empty() && !why.empty());
}
