#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/waves.h"
#include "synth.h"
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

float Peak(const SoundBuffer& s) {
    float peak = 0.0f;
    for (float v : s.samples) peak = std::max(peak, std::fabs(v));
    return peak;
}

// The quietest stretch of `seconds`, as RMS relative to the sound's peak.
float QuietestStretch(const SoundBuffer& s, double seconds) {
    const size_t window = static_cast<size_t>(seconds * kAudioRate);
    float quietest = 1.0f;
    for (size_t first = 0; first + window <= s.samples.size(); first += window / 2) {
        double sum = 0.0;
        for (size_t i = first; i < first + window; ++i) sum += double(s.samples[i]) * s.samples[i];
        quietest = std::min(quietest, static_cast<float>(std::sqrt(sum / window) / Peak(s)));
    }
    return quietest;
}

// A click is a jump in the wave or in its slope. Played in a loop, the first and second differences at the
// joint must look like they do in the 20 ms around it.
float ClickAtLoopPoint(const SoundBuffer& s) {
    const long n = static_cast<long>(s.samples.size());
    auto at = [&](long i) { return s.samples[static_cast<size_t>(((i % n) + n) % n)]; };
    auto step = [&](long i) { return std::fabs(at(i) - at(i - 1)); };
    auto curvature = [&](long i) { return std::fabs(at(i + 1) - 2.0f * at(i) + at(i - 1)); };
    double steps = 0.0, curves = 0.0;
    long count = 0;
    for (long i = -220; i <= 220; ++i) {
        if (i >= -2 && i <= 1) continue;
        steps += double(step(i)) * step(i);
        curves += double(curvature(i)) * curvature(i);
        ++count;
    }
    const float jump = step(0) / static_cast<float>(std::sqrt(steps / count) + 1e-9);
    const float kink = std::max(curvature(0), curvature(-1)) / static_cast<float>(std::sqrt(curves / count) + 1e-9);
    return std::max(jump, kink);
}

}  // namespace

// The generator's mono file with its samples; lower-case identifiers, padded and unknown chunks; the channel
// layouts and their OpenAL names. 24-bit samples have no OpenAL format and must not pass for 8-bit ones, and
// an extensible record's mask must fit its channel count.
TEST(Waves, AcceptedFilesGetTheirOpenALFormatDamagedOnesAreRejectedAndSlotsRunOutAndAreReused) {
    GameTreeSandbox sandbox;
    CWaves waves;
    const auto Load = [&](const std::string& image, int* slot) {
        WriteText(sandbox.Path("Audio/test.wav"), image);
        return waves.LoadWaveFile("../Audio/test.wav", slot);
    };
    const std::vector<int16_t> ramp = Ramp(1001);
    std::string lower = Riff(Chunk("LIST", "abc") + Chunk("fmt ", PcmFormat(2, 8)) + Chunk("junk", "x") +
                             Chunk("data", std::string(6, '\x80')));
    for (size_t at : {0, 8, 24, 58})  // "RIFF", "WAVE", "fmt ", "data"
        for (size_t i = at; i < at + 4; ++i) lower[i] = static_cast<char>(tolower(lower[i]));
    const std::string data = Chunk("data", std::string(48, '\0'));
    auto pcm = [&](uint32_t ch, uint32_t bits) { return Riff(Chunk("fmt ", PcmFormat(ch, bits)) + data); };
    auto ext = [&](uint32_t ch, uint32_t bits, uint32_t mask) {  // an extensible format record: 40 bytes
        const std::string format = PcmFormat(ch, bits, 0xFFFE) + Fields({{22, 2}, {bits, 2}, {mask, 4}});
        return Riff(Chunk("fmt ", format + std::string(16, '\0')) + data);
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
    EXPECT_EQ(waves.DeleteWaveFile(17), WAVE_ERR_SLOT);
    EXPECT_EQ(waves.LoadWaveFile("../Audio/small.wav", &slot), WAVE_OK);
    EXPECT_EQ(slot, 17);
    const char* name = nullptr;
    EXPECT_EQ(waves.GetFormatName(-1, &name), WAVE_ERR_SLOT);
    EXPECT_EQ(waves.GetFormatName(kWaveSlots, &name), WAVE_ERR_SLOT);
    EXPECT_EQ(waves.GetFormatName(0, nullptr), WAVE_ERR_PARAM);
}

// Every sound is audible; one-shot effects fade out instead of stopping on a click, and the engine's loop and the
// music's join without one. The music plays for 30 s or more without a gap. (Rendering the music takes seconds, so
// one test looks at everything.)
TEST(GeneratedSounds, AudibleEndingWithoutAClickAndTheMusicWithoutGaps) {
    std::vector<GameSound> sounds = EffectSounds();
    const size_t effects = sounds.size();
    for (const GameSound& piece : MusicPieces()) sounds.push_back(piece);
    for (size_t i = 0; i < sounds.size(); ++i) {
        const GameSound& s = sounds[i];
        ASSERT_GT(Peak(s.sound), 0.01f) << s.file;
        for (float v : s.sound.samples) ASSERT_TRUE(std::isfinite(v)) << s.file;
        if (i < effects && s.file != "engine.wav") {
            EXPECT_LT(std::fabs(s.sound.samples.back()), 0.001f * Peak(s.sound)) << s.file;
            continue;
        }
        EXPECT_LT(ClickAtLoopPoint(s.sound), 4.0f) << s.file;
        if (i < effects) continue;
        EXPECT_GE(double(s.sound.samples.size()) / kAudioRate, 30.0) << s.file;
        EXPECT_GT(QuietestStretch(s.sound, 0.5), 0.05f) << s.file;
    }
}
