#include "audio/waves.h"

#include <cstring>
#include <new>
#include <strings.h>

#include "platform/files.h"

namespace {

constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagExtensible = 0xFFFE;
constexpr uint32_t kPcmRecord = 16;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) { return Le16(p) | (static_cast<uint32_t>(Le16(p + 2)) << 16); }

bool ChunkIs(const uint8_t* id, const char* name) {
    return strncasecmp(reinterpret_cast<const char*>(id), name, 4) == 0;
}

// Decodes a format record of `size` bytes; the kind stays unset for tags we cannot play
// and for records too short to say how many bits a sample has.
void ReadFormatRecord(const uint8_t* record, uint32_t size, WaveInfo& info) {
    uint8_t raw[kMaxFormatRecord] = {};
    memcpy(raw, record, size);
    const uint16_t tag = Le16(raw);
    uint32_t kept = 0;
    if (tag == kTagPcm && size >= kPcmRecord) {
        info.kind = WAVE_KIND_PCM;
        kept = kPcmRecord;
    } else if (tag == kTagExtensible && size >= kPcmRecord) {
        info.kind = WAVE_KIND_EXTENSIBLE;
        kept = kMaxFormatRecord;
    } else {
        return;
    }
    memset(raw + kept, 0, kMaxFormatRecord - kept);
    WaveFormat& f = info.format;
    f.formatTag = tag;
    f.channels = Le16(raw + 2);
    f.samplesPerSec = Le32(raw + 4);
    f.avgBytesPerSec = Le32(raw + 8);
    f.blockAlign = Le16(raw + 12);
    f.bitsPerSample = Le16(raw + 14);
    f.extensionSize = Le16(raw + 16);
    f.validBits = Le16(raw + 18);
    f.channelMask = Le32(raw + 20);
    memcpy(f.subFormat, raw + 24, sizeof f.subFormat);
}

// Walks the chunk list; the data itself is only located here, never read.
int32_t ParseChunks(FILE* file, long fileSize, WaveInfo& info) {
    uint8_t header[12];
    if (fread(header, 1, 12, file) != 12 || !ChunkIs(header, "RIFF") || !ChunkIs(header + 8, "WAVE"))
        return WAVE_ERR_INVALID;
    uint8_t chunk[8];
    while (fread(chunk, 1, 8, file) == 8) {
        const uint32_t size = Le32(chunk + 4);
        const long start = ftell(file);
        if (ChunkIs(chunk, "fmt ") && size <= kMaxFormatRecord) {
            uint8_t record[kMaxFormatRecord];
            if (fread(record, 1, size, file) != size) return WAVE_ERR_INVALID;
            ReadFormatRecord(record, size, info);
        } else if (ChunkIs(chunk, "data")) {
            info.dataSize = size;
            info.dataOffset = start;
        }
        // Chunks are word-aligned: an odd size is followed by a pad byte.
        const long next = start + static_cast<long>(size) + static_cast<long>(size & 1);
        if (next >= fileSize || fseek(file, next, SEEK_SET) != 0) break;
    }
    if (info.dataSize == 0 || info.dataOffset == 0 || info.kind == WAVE_KIND_NONE) return WAVE_ERR_INVALID;
    // A data chunk claiming more bytes than the file holds is a short read; refuse it before allocating.
    if (static_cast<long>(info.dataSize) > fileSize - info.dataOffset) return WAVE_ERR_INVALID;
    if (info.format.samplesPerSec == 0) return WAVE_ERR_INVALID;
    return WAVE_OK;
}

const char* FormatNameOf(const WaveInfo& info) {
    const WaveFormat& f = info.format;
    const bool is16 = f.bitsPerSample == 16;
    // Only 8- and 16-bit samples have OpenAL formats; anything else would play as noise.
    if (!is16 && f.bitsPerSample != 8) return nullptr;
    if (info.kind == WAVE_KIND_PCM) {
        switch (f.channels) {
        case 1: return is16 ? "AL_FORMAT_MONO16" : "AL_FORMAT_MONO8";
        case 2: return is16 ? "AL_FORMAT_STEREO16" : "AL_FORMAT_STEREO8";
        case 4: return is16 ? "AL_FORMAT_QUAD16" : nullptr;
        default: return nullptr;
        }
    }
    if (f.channels == 1 && f.channelMask == 0x4) return is16 ? "AL_FORMAT_MONO16" : "AL_FORMAT_MONO8";
    if (f.channels == 2 && f.channelMask == 0x3) return is16 ? "AL_FORMAT_STEREO16" : "AL_FORMAT_STEREO8";
    if (!is16) return nullptr;
    if (f.channels == 2 && f.channelMask == 0x30) return "AL_FORMAT_REAR16";
    if (f.channels == 4 && f.channelMask == 0x33) return "AL_FORMAT_QUAD16";
    if (f.channels == 6 && f.channelMask == 0x3F) return "AL_FORMAT_51CHN16";
    if (f.channels == 7 && f.channelMask == 0x13F) return "AL_FORMAT_61CHN16";
    if (f.channels == 8 && f.channelMask == 0x63F) return "AL_FORMAT_71CHN16";
    return nullptr;
}

}  // namespace

CWaves::CWaves() = default;
CWaves::~CWaves() = default;

int32_t CWaves::LoadWaveFile(const char* path, int* slot) {
    if (!path || !slot) return WAVE_ERR_PARAM;
    FILE* file = OpenGameFile(path, "rb");
    if (!file) return WAVE_ERR_OPEN;
    const int32_t result = LoadWaveStream(file, slot);
    fclose(file);
    return result;
}

int32_t CWaves::LoadWaveStream(FILE* file, int* slot) {
    if (!file || !slot) return WAVE_ERR_PARAM;
    if (fseek(file, 0, SEEK_END) != 0) return WAVE_ERR_INVALID;
    const long fileSize = ftell(file);
    if (fileSize < 0 || fseek(file, 0, SEEK_SET) != 0) return WAVE_ERR_INVALID;

    auto info = std::make_unique<WaveInfo>();
    const int32_t parsed = ParseChunks(file, fileSize, *info);
    if (parsed != WAVE_OK) return parsed;

    info->data.reset(new (std::nothrow) uint8_t[info->dataSize]);
    if (!info->data) return WAVE_ERR_MEMORY;
    if (fseek(file, info->dataOffset, SEEK_SET) != 0 ||
        fread(info->data.get(), 1, info->dataSize, file) != info->dataSize)
        return WAVE_ERR_INVALID;

    for (int i = 0; i < kWaveSlots; ++i) {
        if (!mSlots[i]) {
            mSlots[i] = std::move(info);
            *slot = i;
            return WAVE_OK;
        }
    }
    return WAVE_ERR_MEMORY;
}

int32_t CWaves::DeleteWaveFile(int slot) {
    if (!Get(slot)) return WAVE_ERR_SLOT;
    mSlots[slot].reset();
    return WAVE_OK;
}

const WaveInfo* CWaves::Get(int slot) const {
    if (slot < 0 || slot >= kWaveSlots) return nullptr;
    return mSlots[slot].get();
}

int32_t CWaves::GetFormatName(int slot, const char** name) const {
    if (!name) return WAVE_ERR_PARAM;
    const WaveInfo* info = Get(slot);
    if (!info) return WAVE_ERR_SLOT;
    *name = FormatNameOf(*info);
    return *name ? WAVE_OK : WAVE_ERR_FORMAT;
}

int32_t CWaves::GetALFormat(int slot, ALenum* format) const {
    if (!format) return WAVE_ERR_PARAM;
    const char* name = nullptr;
    const int32_t result = GetFormatName(slot, &name);
    if (result != WAVE_OK) return result;
    *format = alGetEnumValue(name);
    return *format != 0 ? WAVE_OK : WAVE_ERR_FORMAT;
}
