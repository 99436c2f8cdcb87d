#pragma once

#include <AL/al.h>

#include <cstdint>
#include <cstdio>
#include <memory>

// Results of the WAV loader.
enum : int32_t {
    WAVE_OK = 0,
    WAVE_ERR_OPEN = -1,       // the file cannot be opened
    WAVE_ERR_INVALID = -2,    // not a valid WAV file, or a short read
    WAVE_ERR_PARAM = -3,      // invalid parameter
    WAVE_ERR_SLOT = -4,       // slot number out of range or empty
    WAVE_ERR_MEMORY = -14,    // out of memory or no free slot
    WAVE_ERR_FORMAT = -16,    // no OpenAL format for this layout
};

enum WaveKind {
    WAVE_KIND_NONE = 0,
    WAVE_KIND_PCM = 1,         // plain PCM format record
    WAVE_KIND_EXTENSIBLE = 2,  // extensible format record
};

constexpr int kWaveSlots = 1024;
constexpr uint32_t kMaxFormatRecord = 40;

// The "fmt " record with its little-endian fields decoded; fields the file does not carry stay zero.
struct WaveFormat {
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extensionSize;
    uint16_t validBits;
    uint32_t channelMask;
    uint8_t subFormat[16];
};

struct WaveInfo {
    int kind;
    WaveFormat format;
    std::unique_ptr<uint8_t[]> data;
    uint32_t dataSize;
    long dataOffset;
};

// The registry of loaded WAV files: each load takes the first free of 1024 slots until it is deleted.
class CWaves {
public:
    CWaves();
    virtual ~CWaves();
    CWaves(const CWaves&) = delete;
    CWaves& operator=(const CWaves&) = delete;

    int32_t LoadWaveFile(const char* path, int* slot);
    // Reads a whole WAV image from an open stream positioned at its start; the caller keeps the stream.
    int32_t LoadWaveStream(FILE* file, int* slot);
    int32_t DeleteWaveFile(int slot);

    const WaveInfo* Get(int slot) const;  // null for an invalid or empty slot
    // Name of the OpenAL buffer format for the slot's layout, such as "AL_FORMAT_MONO16".
    int32_t GetFormatName(int slot, const char** name) const;
    // The same format as the running OpenAL's enum value.
    int32_t GetALFormat(int slot, ALenum* format) const;

private:
    std::unique_ptr<WaveInfo> mSlots[kWaveSlots];
};
