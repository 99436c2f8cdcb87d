// The sound effects: menu blips, alert, countdown, go, impacts and the engine loop.
#include <cmath>
#include <vector>

#include "app/gamedefs.h"
#include "synth.h"

namespace {

constexpr double kTwoPi = 2.0 * kPiDouble;

const Timbre kBlip = {{1.0f, 0.3f, 0.1f}, 6.0f, 0.003f, 0.05f, 0.0f, 0.03f, 0.0f, 0.0f};
const Timbre kBeep = {{1.0f, 0.2f, 0.15f}, 1.0f, 0.004f, 0.5f, 0.8f, 0.04f, 0.0f, 0.0f};
const Timbre kBuzz = {{1.0f, 0.0f, 0.5f, 0.0f, 0.3f, 0.0f, 0.2f}, 0.0f, 0.004f, 0.3f, 0.8f, 0.03f, 0.0f, 0.0f};
const Timbre kMetal = {{1.0f, 0.0f, 0.6f, 0.0f, 0.0f, 0.4f, 0.0f, 0.3f}, 2.0f, 0.001f, 0.15f, 0.0f, 0.2f, 0.0f, 0.013f};

// A thump of low-passed noise over a falling tone; stronger hits last longer, sound lower and
// from "heavy" on ring with metal.
SoundBuffer Impact(double seconds, double toneHz, float metal, uint32_t seed) {
    SoundBuffer out = MakeSoundBuffer(seconds + 0.3, false);
    NoiseSource noise(seed);
    const double smoothing = std::exp(-kTwoPi * 900.0 / kAudioRate / (seconds * 4.0));
    double filtered = 0.0, phase = 0.0;
    const long count = static_cast<long>(seconds * kAudioRate);
    for (long i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kAudioRate;
        filtered = smoothing * filtered + (1.0 - smoothing) * noise.Next();
        phase += kTwoPi * toneHz * (1.0 + 1.5 * std::exp(-t * 20.0)) / kAudioRate;
        const double decay = std::exp(-t * 5.0 / seconds);
        out.Add(i, static_cast<float>(decay * (3.0 * filtered + 0.6 * std::sin(phase))));
    }
    if (metal > 0.0f) {
        AddTone(out, 0.0, seconds * 0.3, 410.0, metal, kMetal);
        AddTone(out, 0.01, seconds * 0.25, 587.0, metal * 0.7f, kMetal);
    }
    return out;
}

// One second of hover engine: every component has a whole number of cycles per second, and the
// noise is smoothed around the ring, so the loop point is seamless at any pitch.
SoundBuffer EngineLoop() {
    SoundBuffer out = MakeSoundBuffer(1.0, true);
    const size_t count = out.samples.size();
    std::vector<float> noise(count);
    NoiseSource source(0x5EED);
    for (float& n : noise) n = source.Next();
    float state = 0.0f;
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < count; ++i) {
            state = 0.96f * state + 0.04f * noise[i];
            if (pass == 1) noise[i] = state;
        }
    }
    const double harmonics[] = {1.0, 0.55, 0.35, 0.22, 0.12, 0.08};
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kAudioRate;
        double value = 0.0;
        for (int k = 0; k < 6; ++k) value += harmonics[k] * std::sin(kTwoPi * 110.0 * (k + 1) * t);
        const double throb = 0.75 + 0.25 * std::sin(kTwoPi * 10.0 * t);
        const double whine = 0.12 * std::sin(kTwoPi * 770.0 * t) * (0.6 + 0.4 * std::sin(kTwoPi * 3.0 * t));
        out.samples[i] = static_cast<float>(value * throb + whine + 4.0 * noise[i]);
    }
    return out;
}

struct EffectTone {
    double start, length, hz;
    float amp;
    const Timbre* timbre;
};

struct EffectSound {
    const char* file;
    double seconds;
    float peak;
    std::vector<EffectTone> tones;
};

// The menu blips, the refusal buzz, the countdown beep and the higher, longer "go".
const EffectSound kEffects[] = {
    {"intermenu.wav", 0.25, 0.6f, {{0.0, 0.06, 660.0, 1.0f, &kBlip}, {0.07, 0.08, 990.0, 1.0f, &kBlip}}},
    {"intramenu.wav", 0.12, 0.5f, {{0.0, 0.04, 1320.0, 1.0f, &kBlip}}},
    {"menuselect.wav", 0.45, 0.6f,
     {{0.0, 0.12, 523.25, 1.0f, &kBlip}, {0.05, 0.12, 659.26, 1.0f, &kBlip},
      {0.10, 0.12, 783.99, 1.0f, &kBlip}, {0.15, 0.12, 1046.5, 1.0f, &kBlip}}},
    {"alert.wav", 0.4, 0.6f, {{0.0, 0.12, 196.0, 1.0f, &kBuzz}, {0.17, 0.14, 185.0, 1.0f, &kBuzz}}},
    {"countdown.wav", 0.35, 0.7f, {{0.0, 0.22, 880.0, 1.0f, &kBeep}}},
    {"go.wav", 0.9, 0.75f, {{0.0, 0.6, 1760.0, 1.0f, &kBeep}, {0.0, 0.6, 1318.5, 0.6f, &kBeep}}},
};

}  // namespace

std::vector<GameSound> EffectSounds() {
    std::vector<GameSound> sounds;
    for (const EffectSound& effect : kEffects) {
        SoundBuffer out = MakeSoundBuffer(effect.seconds, false);
        for (const EffectTone& t : effect.tones) AddTone(out, t.start, t.length, t.hz, t.amp, *t.timbre);
        sounds.push_back({effect.file, std::move(out), effect.peak});
    }
    sounds.push_back({"impact_small.wav", Impact(0.15, 140.0, 0.0f, 11), 0.45f});
    sounds.push_back({"impact_medium.wav", Impact(0.3, 100.0, 0.0f, 12), 0.6f});
    sounds.push_back({"impact_heavy.wav", Impact(0.55, 75.0, 0.35f, 13), 0.75f});
    sounds.push_back({"impact_severe.wav", Impact(0.9, 55.0, 0.6f, 14), 0.85f});
    sounds.push_back({"engine.wav", EngineLoop(), 0.6f});
    return sounds;
}
