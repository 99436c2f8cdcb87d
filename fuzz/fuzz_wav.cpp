#include "audio/waves.h"
#include "fuzz.h"

FUZZ_TARGET {
    ReadInput(data, size, [](FILE* f) {
        CWaves waves;
        int slot = -1;
        if (waves.LoadWaveStream(f, &slot) != WAVE_OK)
            return;
        const WaveInfo* info = waves.Get(slot);
        const char* name = nullptr;
        waves.GetFormatName(slot, &name);
        // Touch every byte the loader claims to hold.
        volatile uint8_t sum = 0;
        for (uint32_t i = 0; i < info->dataSize; ++i) sum = static_cast<uint8_t>(sum + info->data[i]);
        waves.DeleteWaveFile(slot);
    });
}
