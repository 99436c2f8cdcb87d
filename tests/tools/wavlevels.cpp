// Prints the loudness of a 16-bit WAV file, one line per STEP seconds: "START_SECONDS RMS", the RMS over all
// channels as a fraction of full scale. wavlevels FILE STEP [high]
// With "high" each sample counts as its change from the channel's previous one: a first-order high-pass under
// which the effects' tones stand well clear of the engine's low hum.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/waves.h"

int main(int argc, char** argv) {
    const bool high = argc == 4 && strcmp(argv[3], "high") == 0;
    CWaves waves;
    int slot = -1;
    if ((argc != 3 && !high) || waves.LoadWaveFile(argv[1], &slot) != WAVE_OK)
        return 2;
    const WaveInfo* info = waves.Get(slot);
    const size_t frameSamples = info->format.channels;
    const size_t stepSamples = static_cast<size_t>(atof(argv[2]) * info->format.samplesPerSec) * frameSamples;
    if (info->format.bitsPerSample != 16 || stepSamples == 0)
        return 2;
    const auto sample = [info](size_t index) {
        int16_t s;
        memcpy(&s, info->data.get() + index * 2, 2);
        return double(s);
    };
    for (size_t first = 0; first + stepSamples <= info->dataSize / 2; first += stepSamples) {
        double sum = 0.0;
        for (size_t i = first; i < first + stepSamples; ++i) {
            const double s = sample(i) - (high && i >= frameSamples ? sample(i - frameSamples) : 0.0);
            sum += s * s;
        }
        const double rms = std::sqrt(sum / static_cast<double>(stepSamples)) / 32768.0;
        printf("%.2f %.6f\n", static_cast<double>(first / frameSamples) / info->format.samplesPerSec, rms);
    }
    return 0;
}
