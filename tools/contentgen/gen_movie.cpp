// nimbrellogo.avi: four seconds of animated studio logo, MJPEG in AVI, with its sound track in 16-bit PCM.
#include <algorithm>
#include <cmath>

#include "app/gamedefs.h"
#include "canvas.h"
#include "contentgen.h"
#include "kit_movie.h"
#include "synth.h"

namespace {

constexpr int kWidth = 320, kHeight = 240, kFps = 25, kFrames = 100;
// A band of this colour runs along the bottom of every frame, so a screenshot can tell the movie is showing.
constexpr Rgb kBandColour = {200, 40, 160};

Canvas LogoFrame(int index) {
    const float t = static_cast<float>(index) / kFps;
    Canvas c(kWidth, kHeight);
    const float shift = 0.5f + 0.5f * std::sin(t * 1.3f);
    c.VerticalGradient(MixRounded({10, 12, 40}, {40, 10, 60}, shift), 
                       MixRounded({20, 60, 90}, {70, 30, 90}, shift));
    // Twelve orbs spiral in towards the name.
    const float radius = 58.0f + 50.0f * std::max(0.0f, 1.0f - t / 2.5f);
    for (int i = 0; i < 12; ++i) {
        const float angle = t * 1.6f + static_cast<float>(i) * kPi / 6.0f;
        const Rgb colour = MixRounded({90, 200, 255}, {255, 200, 90}, 0.5f + 0.5f * std::sin(angle * 2.0f));
        c.FillCircle(160.0f + radius * 1.6f * std::cos(angle), 108.0f + radius * std::sin(angle), 7.0f, colour, 0.85f);
    }
    const std::string name = "NIMBRELLO";
    const float nameAlpha = std::clamp((t - 1.2f) / 1.0f, 0.0f, 1.0f);
    const int nameX = (kWidth - Canvas::TextWidth(3, name)) / 2;
    c.DrawText(nameX, 98, 3, name, {255, 255, 255}, nameAlpha);
    const std::string games = "GAMES";
    c.DrawText((kWidth - Canvas::TextWidth(2, games)) / 2, 128, 2, games, {180, 220, 255},
               std::clamp((t - 2.0f) / 0.8f, 0.0f, 1.0f));
    // A glint sweeps across the name near the end.
    if (t > 3.0f) {
        const int glint = nameX + static_cast<int>((t - 3.0f) * 300.0f);
        c.FillRect(glint, 94, glint + 6, 124, {255, 255, 255}, 0.45f);
    }
    c.FillRect(0, kHeight - 24, kWidth, kHeight, kBandColour);
    return c;
}

// A swelling pad under the spiral, a chime as the name appears and a shimmer with the glint.
std::vector<int16_t> LogoSound() {
    const Timbre pad = {{1.0f, 0.5f, 0.3f, 0.15f}, 0.5f, 1.2f, 1.0f, 0.9f, 0.5f, 0.003f, 0.004f};
    const Timbre chime = {{1.0f, 0.0f, 0.4f, 0.0f, 0.2f, 0.0f, 0.1f}, 2.5f, 0.004f, 0.6f, 0.0f, 0.8f, 0.0f, 0.002f};
    const double seconds = static_cast<double>(kFrames) / kFps;
    SoundBuffer sound = MakeSoundBuffer(seconds, false);
    for (double midi : {45.0, 52.0, 57.0, 61.0}) AddTone(sound, 0.0, seconds - 0.6, MidiToHz(midi), 0.25f, pad);
    for (double midi : {69.0, 73.0, 76.0, 81.0}) AddTone(sound, 1.2, 2.2, MidiToHz(midi), 0.3f, chime);
    for (int i = 0; i < 6; ++i) AddTone(sound, 3.0 + 0.08 * i, 0.5, MidiToHz(88.0 + 2 * i), 0.12f, chime);
    return NormalisedPcm(sound, 0.7f);
}

}  // namespace

bool GenerateMovie(const std::string& root) {
    MovieWriter writer(root + "/nimbrellogo.avi", kWidth, kHeight, kFps, kAudioRate);
    writer.AddSound(LogoSound());
    for (int i = 0; i < kFrames; ++i) writer.Add(LogoFrame(i), i);
    return writer.Finish();
}
