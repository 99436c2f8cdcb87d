// Prints the loudness of a 16-bit WAV file, one line per STEP seconds: "START_SECONDS RMS", the RMS over all
// channels as a fraction of full scale. wavlevels FILE STEP [high]
// With "high" each sample counts as its change from the channel's previous one: a first-order high-pass under
// which the effects' tones stand well clear of the engine's low hum.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/waves.h"

namespace {

double Sample(const WaveInfo* info, size_t index) {
    int16_t s;
    memcpy(&s, info->data.get() + index * 2, 2);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const bool high = argc == 4 && strcmp(argv[3], "high") == 0;
    if (argc != 3 && !high) {
        fprintf(stderr, "usage: wavlevels FILE STEP [high]\n");
        return 2;
    }
    CWaves waves;
    int slot = -1;
    const int32_t result = waves.LoadWaveFile(argv[1], &slot);
    if (result != WAVE_OK) {
        fprintf(stderr, "wavlevels: %s is not a readable WAV file (%d)\n", argv[1], result);
        return 1;
    }
    const WaveInfo* info = waves.Get(slot);
    if (info->format.bitsPerSample != 16 || info->format.channels == 0) {
        fprintf(stderr, "wavlevels: %s does not hold 16-bit samples\n", argv[1]);
        return 1;
    }
    const size_t frameSamples = info->format.channels;
    const size_t stepFrames = static_cast<size_t>(atof(argv[2]) * info->format.samplesPerSec);
    const size_t total = info->dataSize / 2;
    if (stepFrames == 0) return 2;
    for (size_t first = 0; first + stepFrames * frameSamples <= total; first += stepFrames * frameSamples) {
        double sum = 0.0;
        for (size_t i = first; i < first + stepFrames * frameSamples; ++i) {
            const double s = Sample(info, i) - (high && i >= frameSamples ? Sample(info, i - frameSamples) : 0.0);
            sum += s * s;
        }
        const double rms = std::sqrt(sum / static_cast<double>(stepFrames * frameSamples)) / 32768.0;
        printf("%.2f %.6f\n", static_cast<double>(first / frameSamples) / info->format.samplesPerSec, rms);
    }
    return 0;
}
