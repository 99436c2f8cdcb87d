#include <gtest/gtest.h>

#include <cstring>

#include "audio/waves.h"
#include "testutil.h"
#include "wavfile.h"

namespace {

std::vector<int16_t> Ramp(size_t count) {
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i) samples[i] = static_cast<int16_t>(i * 37);
    return samples;
}

// Little-endian fields, each a value and its width in bytes.
std::string Fields(std::initializer_list<std::pair<uint32_t, int>> fields) {
    std::string out;
    for (auto [value, bytes] : fields)
        for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
    return out;
}

// The image with the 32-bit value at `at` replaced.
std::string With(std::string image, size_t at, uint32_t value) {
    return image.replace(at, 4, Fields({{value, 4}}));
}

std::string Chunk(const char* id, const std::string& body) {
    return id + Fields({{uint32_t(body.size()), 4}}) + body + std::string(body.size() & 1, '\0');
}

std::string Riff(const std::string& chunks) {
    return "RIFF" + Fields({{uint32_t(chunks.size() + 4), 4}}) + "WAVE" + chunks;
}

std::string PcmFormat(uint32_t channels, uint32_t bits, uint32_t tag = 1) {
    return Fields({{tag, 2}, {channels, 2}, {22050, 4}, {22050 * channels * bits / 8, 4}, {channels * bits / 8, 2},
                   {bits, 2}});
}

// An extensible format record: 40 bytes.
std::string ExtensibleFormat(uint32_t channels, uint32_t bits, uint32_t mask) {
    return PcmFormat(channels, bits, 0xFFFE) + Fields({{22, 2}, {bits, 2}, {mask, 4}}) + std::string(16, '\0');
}

}  // namespace

// The generator's mono file with its samples; lower-case identifiers, padded and unknown chunks; the channel
// layouts and their OpenAL names. 24-bit samples have no OpenAL format and must not pass for 8-bit ones, and
// an extensible record's mask must fit its channel count.
TEST(Waves, AcceptedFilesGetTheirOpenALFormatDamagedOnesAreRejectedAndSlotsRunOutAndAreReused) {
    GameTreeSandbox sandbox;
    std::filesystem::create_directories(sandbox.Path("Audio"));
    CWaves waves;
    const auto Load = [&](const std::string& image, int* slot) {
        WriteText(sandbox.Path("Audio/test.wav"), image);
        return waves.LoadWaveFile("../Audio/test.wav", slot);
    };
    const std::vector<int16_t> ramp = Ramp(1001);
    std::string lower = Riff(Chunk("LIST", "abc") + Chunk("fmt ", PcmFormat(2, 8)) + Chunk("junk", "x") +
                             Chunk("data", std::string(6, '\x80')));
    for (size_t at : {0, 8, 24, 58}) {  // "RIFF", "WAVE", "fmt ", "data"
        for (size_t i = at; i < at + 4; ++i) lower[i] = static_cast<char>(tolower(lower[i]));
    }
    const std::string data = Chunk("data", std::string(48, '\0'));
    auto pcm = [&](uint32_t ch, uint32_t bits) { return Riff(Chunk("fmt ", PcmFormat(ch, bits)) + data); };
    auto ext = [&](uint32_t ch, uint32_t bits, uint32_t mask) {
        return Riff(Chunk("fmt ", ExtensibleFormat(ch, bits, mask)) + data);
    };
    const struct {
        std::string image;
        const char* format;  // nullptr: none
        uint32_t size;
    } cases[] = {
        {EncodeWav16(ramp, 1, 22050), "AL_FORMAT_MONO16", 2002}, {lower, "AL_FORMAT_STEREO8", 6},
        {pcm(1, 8), "AL_FORMAT_MONO8", 48},           {pcm(4, 16), "AL_FORMAT_QUAD16", 48},
        {pcm(3, 16), nullptr, 48},                    {pcm(1, 24), nullptr, 48},
        {ext(2, 16, 0x30), "AL_FORMAT_REAR16", 48},   {ext(6, 16, 0x3F), "AL_FORMAT_51CHN16", 48},
        {ext(8, 16, 0x63F), "AL_FORMAT_71CHN16", 48}, {ext(6, 16, 0x3), nullptr, 48},
        {ext(2, 8, 0x30), nullptr, 48},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format ? c.format : c.image.substr(20, 4));
        int slot = -1;
        ASSERT_EQ(Load(c.image, &slot), WAVE_OK);
        const char* name = nullptr;
        EXPECT_EQ(waves.GetFormatName(slot, &name), c.format ? WAVE_OK : WAVE_ERR_FORMAT);
        EXPECT_STREQ(name, c.format);
        EXPECT_EQ(waves.Get(slot)->dataSize, c.size);
    }
    EXPECT_EQ(waves.Get(0)->format.samplesPerSec, 22050u);
    EXPECT_EQ(memcmp(waves.Get(0)->data.get(), ramp.data(), 2002), 0);
    for (int i = 0; i < kWaveSlots; ++i) waves.DeleteWaveFile(i);

    const std::string good = EncodeWav16(Ramp(100), 1, 22050);
    int slot = -1;
    // Every truncation of the file, down to nothing.
    for (size_t length = 0; length < good.size(); ++length)
        EXPECT_EQ(Load(good.substr(0, length), &slot), WAVE_ERR_INVALID) << length;

    // A data size far past the end; no data, no format; a 50-byte format chunk, which is skipped and leaves
    // the file without a format; a record too short to say the sample size, an unknown tag, a zero sample
    // rate; not RIFF, not WAVE.
    const std::string mono = PcmFormat(1, 16), ab = Chunk("data", "ab");
    for (const std::string& image :
         {With(good, 40, 0xFFFFFFF0u), Riff(Chunk("fmt ", mono) + Chunk("data", "")), Riff(Chunk("data", "abcd")),
          Riff(Chunk("fmt ", mono + std::string(34, '\0')) + ab), Riff(Chunk("fmt ", mono.substr(0, 14)) + ab),
          Riff(Chunk("fmt ", PcmFormat(1, 4, 2)) + ab),  // ADPCM
          Riff(Chunk("fmt ", With(mono, 4, 0)) + ab), "X" + good.substr(1), good.substr(0, 8) + "XAVE" + good.substr(12)})
        EXPECT_EQ(Load(image, &slot), WAVE_ERR_INVALID) << image.substr(0, 16);

    EXPECT_EQ(waves.LoadWaveFile("../Audio/missing.wav", &slot), WAVE_ERR_OPEN);
    EXPECT_EQ(waves.LoadWaveFile(nullptr, &slot), WAVE_ERR_PARAM);
    for (int i = 0; i < kWaveSlots; ++i) EXPECT_EQ(waves.Get(i), nullptr);
    // Slots run out at the table's size and are reused.
    WriteText(sandbox.Path("Audio/small.wav"), EncodeWav16(Ramp(4), 1, 8000));
    for (int i = 0; i < kWaveSlots; ++i) {
        ASSERT_EQ(waves.LoadWaveFile("../Audio/small.wav", &slot), WAVE_OK);
        ASSERT_EQ(slot, i);
    }
    EXPECT_EQ(waves.LoadWaveFile("../Audio/small.wav", &slot), WAVE_ERR_MEMORY);
    EXPECT_EQ(waves.DeleteWaveFile(17), WAVE_OK);
    EXPECT_EQ(waves.Get(17), nullptr);
    EXPECT_EQ(waves.DeleteWaveFile(17), WAVE_ERR_SLOT);
    EXPECT_EQ(waves.LoadWaveFile("../Audio/small.wav", &slot), WAVE_OK);
    EXPECT_EQ(slot, 17);
    const char* name = nullptr;
    EXPECT_EQ(waves.GetFormatName(-1, &name), WAVE_ERR_SLOT);
    EXPECT_EQ(waves.GetFormatName(kWaveSlots, &name), WAVE_ERR_SLOT);
    EXPECT_EQ(waves.GetFormatName(0, nullptr), WAVE_ERR_PARAM);
}
