#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "synth.h"

namespace {

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

// Every sound is audible; one-shot effects fade out instead of stopping on a click, and the engine's loop and the
// music's join without one. The music plays for 30 s or more without a gap. (Rendering the music takes seconds, so
// one test looks at everything.)
TEST(GeneratedSounds, AudibleEndingWithoutAClickAndTheMusicWithoutGaps) {
    std::vector<GameSound> sounds = EffectSounds();
    ASSERT_EQ(sounds.size(), 11u);
    for (const GameSound& piece : MusicPieces()) sounds.push_back(piece);
    ASSERT_EQ(sounds.size(), 14u);
    for (size_t i = 0; i < sounds.size(); ++i) {
        const GameSound& s = sounds[i];
        ASSERT_GT(Peak(s.sound), 0.01f) << s.file;
        for (float v : s.sound.samples) ASSERT_TRUE(std::isfinite(v)) << s.file;
        if (i < 11 && s.file != "engine.wav") {
            EXPECT_LT(std::fabs(s.sound.samples.back()), 0.001f * Peak(s.sound)) << s.file;
            continue;
        }
        EXPECT_LT(ClickAtLoopPoint(s.sound), 4.0f) << s.file;
        if (i < 11) continue;
        EXPECT_GE(double(s.sound.samples.size()) / kAudioRate, 30.0) << s.file;
        EXPECT_GT(QuietestStretch(s.sound, 0.5), 0.05f) << s.file;
    }
}
