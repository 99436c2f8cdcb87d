#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kAudioRate = 22050;

// A mono mixing buffer. A looping buffer wraps whatever is written past its end to its start,
// so note tails and echoes carry over the loop point without a click.
struct SoundBuffer {
    std::vector<float> samples;
    bool loop = false;
    void Add(long index, float value);
};

SoundBuffer MakeSoundBuffer(double seconds, bool loop);

// An additive instrument: up to eight harmonics whose upper partials fade faster, shaped by an
// attack/decay/sustain/release envelope, with optional vibrato and a detuned second voice.
struct Timbre {
    float partials[8];
    float partialDecay;  // extra decay per harmonic number, 1/s
    float attack, decay, sustain, release;  // seconds, seconds, level, seconds
    float vibrato;  // relative depth at 5 Hz
    float detune;   // relative offset of the second voice, 0 for one voice
};

// Deterministic noise, so the same generator writes the same bytes.
class NoiseSource {
public:
    explicit NoiseSource(uint32_t seed) : mState(seed) {}
    float Next();  // uniform in [-1, 1)
private:
    uint32_t mState;
};

double MidiToHz(double midi);
void AddTone(SoundBuffer& out, double start, double length, double hz, float amp, const Timbre& timbre);
void AddKick(SoundBuffer& out, double start, float amp);
void AddSnare(SoundBuffer& out, double start, float amp);
void AddHat(SoundBuffer& out, double start, float amp);
// Mixes `taps` delayed copies of `in` into out, each `feedback` times quieter than the one before.
void AddEcho(SoundBuffer& out, const SoundBuffer& in, double delay, float mix, float feedback, int taps);
void MixInto(SoundBuffer& out, const SoundBuffer& in, float gain);

// The samples scaled so the loudest is `peak` of full scale, as 16-bit PCM.
std::vector<int16_t> NormalisedPcm(const SoundBuffer& sound, float peak);
// Normalises to `peak` of full scale and writes a mono 16-bit WAV file; false (with a message) on failure.
bool WriteSound(const std::string& path, const SoundBuffer& sound, float peak);

// A finished sound: its file name in Audio/, its samples and the peak they are normalised to.
struct GameSound {
    std::string file;
    SoundBuffer sound;
    float peak;
};

std::vector<GameSound> EffectSounds();  // every effect and the engine loop
std::vector<GameSound> MusicPieces();   // the three looping pieces
