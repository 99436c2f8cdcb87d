// Recorded vehicle paths: any bytes must parse without crashing and leave samples in time order.
#include <cstdint>
#include <cstdlib>

#include "fuzzinput.h"
#include "race/recording.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VehicleRecording recording;
    recording.Parse(reinterpret_cast<const char*>(data), size, "fuzz");
    for (size_t i = 1; i < recording.samples.size(); ++i)
        if (recording.samples[i].time < recording.samples[i - 1].time) abort();
    float t = -1.0f;
    for (int i = 0; i < 64; ++i, t += 0.37f) recording.Sample(t);
    return 0;
}
