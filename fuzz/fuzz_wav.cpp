#include <cstdint>
#include <cstdio>

#include "audio/waves.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = OpenInput(data, size);
    if (!f) return 0;
    CWaves waves;
    int slot = -1;
    if (waves.LoadWaveStream(f, &slot) == WAVE_OK) {
        const WaveInfo* info = waves.Get(slot);
        const char* name = nullptr;
        waves.GetFormatName(slot, &name);
        // Touch every byte the loader claims to hold.
        volatile uint8_t sum = 0;
        for (uint32_t i = 0; i < info->dataSize; ++i) sum = static_cast<uint8_t>(sum + info->data[i]);
        waves.DeleteWaveFile(slot);
    }
    fclose(f);
    return 0;
}
