#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/gamedefs.h"
#include "platform/files.h"
#include "wavfile.h"

namespace {
constexpr double kTwoPi = 2.0 * kPiDouble;
}

void SoundBuffer::Add(long index, float value) {
    const long size = static_cast<long>(samples.size());
    if (size == 0) return;
    if (loop) index %= size;
    if (index >= 0 && index < size) samples[static_cast<size_t>(index)] += value;
}

SoundBuffer MakeSoundBuffer(double seconds, bool loop) {
    SoundBuffer buffer;
    buffer.samples.assign(static_cast<size_t>(std::lround(seconds * kAudioRate)), 0.0f);
    buffer.loop = loop;
    return buffer;
}

float NoiseSource::Next() {
    mState = mState * 1664525u + 1013904223u;
    return static_cast<float>(mState >> 8) / 8388608.0f - 1.0f;
}

double MidiToHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

namespace {

float Envelope(const Timbre& timbre, double t, double length) {
    double level = t < timbre.attack
        ? t / timbre.attack
        : timbre.sustain + (1.0 - timbre.sustain) * std::exp(-(t - timbre.attack) / timbre.decay);
    if (t > length) level *= std::max(0.0, 1.0 - (t - length) / timbre.release);
    return static_cast<float>(level);
}

float Partials(const Timbre& timbre, double phase, double t) {
    double sum = 0.0;
    for (int k = 0; k < 8; ++k) {
        if (timbre.partials[k] == 0.0f) continue;
        sum += timbre.partials[k] * std::exp(-timbre.partialDecay * k * t) * std::sin((k + 1) * phase);
    }
    return static_cast<float>(sum);
}

long ToIndex(double seconds) { return std::lround(seconds * kAudioRate); }

}  // namespace

void AddTone(SoundBuffer& out, double start, double length, double hz, float amp, const Timbre& timbre) {
    const long first = ToIndex(start);
    const long count = ToIndex(length + timbre.release);
    double phase = 0.0, phase2 = 0.0;
    const float voiceGain = timbre.detune != 0.0f ? 0.5f : 1.0f;
    for (long i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kAudioRate;
        const double vibrato = 1.0 + timbre.vibrato * std::sin(kTwoPi * 5.0 * t) * std::min(1.0, t / 0.3);
        phase += kTwoPi * hz * vibrato / kAudioRate;
        float value = Partials(timbre, phase, t);
        if (timbre.detune != 0.0f) {
            phase2 += kTwoPi * hz * (1.0 + timbre.detune) * vibrato / kAudioRate;
            value += Partials(timbre, phase2, t);
        }
        out.Add(first + i, amp * voiceGain * Envelope(timbre, t, length) * value);
    }
}

void AddKick(SoundBuffer& out, double start, float amp) {
    const long first = ToIndex(start);
    double phase = 0.0;
    for (long i = 0; i < ToIndex(0.35); ++i) {
        const double t = static_cast<double>(i) / kAudioRate;
        phase += kTwoPi * (45.0 + 85.0 * std::exp(-t * 30.0)) / kAudioRate;
        out.Add(first + i, amp * static_cast<float>(std::exp(-t * 8.0) * std::sin(phase)));
    }
}

namespace {

// A burst of noise, `tilt` of each previous sample taken away to brighten it, over an optional tone.
void AddNoiseHit(SoundBuffer& out, double start, double seconds, double decay, float tilt, double toneHz,
                 float toneAmp, float amp) {
    const long first = ToIndex(start);
    NoiseSource noise(static_cast<uint32_t>(first) * 2654435761u + static_cast<uint32_t>(toneHz));
    float previous = 0.0f;
    for (long i = 0; i < ToIndex(seconds); ++i) {
        const double t = static_cast<double>(i) / kAudioRate;
        const float n = noise.Next();
        const float bright = n - tilt * previous;
        previous = n;
        const double tone = toneAmp * std::sin(kTwoPi * toneHz * t) * std::exp(-t * 25.0);
        out.Add(first + i, amp * static_cast<float>(0.55 * bright * std::exp(-t * decay) + tone));
    }
}

}  // namespace

void AddSnare(SoundBuffer& out, double start, float amp) { AddNoiseHit(out, start, 0.25, 18.0, 0.6f, 190.0, 0.5f, amp); }

void AddHat(SoundBuffer& out, double start, float amp) { AddNoiseHit(out, start, 0.06, 60.0, 1.0f, 0.0, 0.0f, amp); }

void AddEcho(SoundBuffer& out, const SoundBuffer& in, double delay, float mix, float feedback, int taps) {
    const long step = ToIndex(delay);
    float gain = mix;
    for (int tap = 1; tap <= taps; ++tap, gain *= feedback) {
        for (size_t i = 0; i < in.samples.size(); ++i)
            out.Add(static_cast<long>(i) + tap * step, gain * in.samples[i]);
    }
}

void MixInto(SoundBuffer& out, const SoundBuffer& in, float gain) {
    for (size_t i = 0; i < in.samples.size(); ++i) out.Add(static_cast<long>(i), gain * in.samples[i]);
}

std::vector<int16_t> NormalisedPcm(const SoundBuffer& sound, float peak) {
    float loudest = 0.0f;
    for (float s : sound.samples) loudest = std::max(loudest, std::fabs(s));
    const float scale = loudest > 0.0f ? peak * 32767.0f / loudest : 0.0f;
    std::vector<int16_t> pcm(sound.samples.size());
    for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<int16_t>(std::lround(sound.samples[i] * scale));
    return pcm;
}

bool WriteSound(const std::string& path, const SoundBuffer& sound, float peak) {
    if (WriteFileAtomically(path.c_str(), EncodeWav16(NormalisedPcm(sound, peak), 1, kAudioRate))) return true;
    fprintf(stderr, "contentgen: cannot write %s\n", path.c_str());
    return false;
}
