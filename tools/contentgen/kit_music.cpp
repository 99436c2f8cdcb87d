// The three looping pieces: menu, race results and the game intro/ending.
#include <vector>

#include "synth.h"

namespace {

struct ScoreNote {
    int midi;  // 0 = rest
    float beats;
};

struct Chord {
    int root;  // MIDI note of the root, any octave
    bool minor;
};

struct Piece {
    const char* file;
    double bpm;
    std::vector<Chord> bars;
    std::vector<ScoreNote> melody;
    const Timbre* lead;
    float leadGain;
    double arpStep;  // beats between arpeggio notes
    std::vector<float> bassOnsets, kickOnsets, snareOnsets;  // beats within a bar
    double hatStep;  // beats between hats
    int drumsFromBar;
};

// Rounded e-piano, soft pad, round bass, singing lead, bell and a bright brass-like lead.
const Timbre kPluck = {{1.0f, 0.45f, 0.2f, 0.1f, 0.05f}, 4.0f, 0.005f, 0.45f, 0.0f, 0.15f, 0.0f, 0.0f};
const Timbre kPad = {{1.0f, 0.5f, 0.33f, 0.2f, 0.12f, 0.08f}, 0.6f, 0.35f, 1.0f, 1.0f, 0.6f, 0.0f, 0.003f};
const Timbre kBass = {{1.0f, 0.35f, 0.12f}, 2.0f, 0.006f, 0.25f, 0.7f, 0.08f, 0.0f, 0.0f};
const Timbre kLead = {{1.0f, 0.4f, 0.25f, 0.12f, 0.06f}, 0.5f, 0.02f, 0.4f, 0.75f, 0.15f, 0.004f, 0.0f};
const Timbre kBell = {{1.0f, 0.3f, 0.0f, 0.25f, 0.0f, 0.1f}, 3.0f, 0.003f, 0.5f, 0.0f, 0.3f, 0.0f, 0.0f};
const Timbre kBrass = {{1.0f, 0.6f, 0.45f, 0.3f, 0.2f, 0.12f, 0.08f}, 0.3f, 0.04f, 0.3f, 0.8f, 0.12f, 0.003f, 0.002f};

int InRange(int midi, int low) {
    while (midi < low) midi += 12;
    while (midi >= low + 12) midi -= 12;
    return midi;
}

SoundBuffer RenderPiece(const Piece& piece) {
    const double beat = 60.0 / piece.bpm;
    const double bar = 4.0 * beat;
    const double length = bar * static_cast<double>(piece.bars.size());
    SoundBuffer mix = MakeSoundBuffer(length, true);
    SoundBuffer melody = MakeSoundBuffer(length, true);

    for (size_t b = 0; b < piece.bars.size(); ++b) {
        const Chord& chord = piece.bars[b];
        const double t0 = bar * static_cast<double>(b);
        const int third = chord.minor ? 3 : 4;
        const int tones[4] = {0, third, 7, 12};
        for (int i = 0; i < 3; ++i)
            AddTone(mix, t0, bar * 0.95, MidiToHz(InRange(chord.root + tones[i], 55)), 0.10f, kPad);
        const int bassNote = InRange(chord.root, 36);
        for (float onset : piece.bassOnsets)
            AddTone(mix, t0 + onset * beat, beat * 0.45, MidiToHz(bassNote), 0.34f, kBass);
        // Up and down the chord, starting an octave above the pad.
        const int arpOrder[6] = {0, 1, 2, 3, 2, 1};
        const int steps = static_cast<int>(4.0 / piece.arpStep + 0.5);
        for (int s = 0; s < steps; ++s) {
            const int tone = InRange(chord.root, 60) + tones[arpOrder[s % 6]];
            AddTone(mix, t0 + s * piece.arpStep * beat, piece.arpStep * beat, MidiToHz(tone), 0.07f, kPluck);
        }
        if (static_cast<int>(b) < piece.drumsFromBar) continue;
        for (float onset : piece.kickOnsets) AddKick(mix, t0 + onset * beat, 0.5f);
        for (float onset : piece.snareOnsets) AddSnare(mix, t0 + onset * beat, 0.22f);
        for (double h = 0.0; piece.hatStep > 0.0 && h < 3.999; h += piece.hatStep)
            AddHat(mix, t0 + h * beat, 0.1f);
    }

    double t = 0.0;
    for (const ScoreNote& note : piece.melody) {
        if (note.midi != 0)
            AddTone(melody, t, note.beats * beat * 0.92, MidiToHz(note.midi), piece.leadGain, *piece.lead);
        t += note.beats * beat;
    }
    MixInto(mix, melody, 1.0f);
    AddEcho(mix, melody, 0.75 * beat, 0.3f, 0.45f, 3);
    return mix;
}

// C major, gentle: I vi IV V, then a lift through IV V iii vi.
Piece MenuPiece() {
    return Piece{
        "menu_music.wav", 100.0,
        {{60, false}, {57, true}, {53, false}, {55, false}, {60, false}, {57, true}, {53, false}, {55, false},
         {53, false}, {55, false}, {52, true}, {57, true}, {53, false}, {55, false}, {60, false}, {60, false}},
        {{76, 1}, {74, 0.5f}, {76, 0.5f}, {79, 1}, {76, 1},
         {72, 1}, {76, 1}, {81, 2},
         {81, 1}, {79, 0.5f}, {77, 0.5f}, {76, 1}, {77, 1},
         {74, 1.5f}, {76, 0.5f}, {74, 1}, {71, 1},
         {76, 1}, {74, 0.5f}, {76, 0.5f}, {79, 1}, {84, 1},
         {83, 1}, {81, 1}, {76, 2},
         {77, 1}, {81, 1}, {79, 1}, {77, 1},
         {74, 1}, {71, 1}, {74, 2},
         {81, 1.5f}, {79, 0.5f}, {77, 1}, {81, 1},
         {79, 1.5f}, {77, 0.5f}, {76, 1}, {74, 1},
         {76, 1}, {79, 1}, {83, 1}, {79, 1},
         {81, 3}, {0, 1},
         {77, 1}, {81, 1}, {84, 1}, {81, 1},
         {83, 1}, {86, 1}, {83, 1}, {79, 1},
         {84, 2}, {79, 1}, {76, 1},
         {72, 3}, {0, 1}},
        &kBell, 0.22f, 0.5,
        {0.0f, 1.5f, 2.0f}, {0.0f, 2.0f}, {1.0f, 3.0f}, 0.5, 4};
}

// D major fanfare for the results screen.
Piece ResultsPiece() {
    return Piece{
        "race_complete_music.wav", 120.0,
        {{62, false}, {55, false}, {59, true}, {57, false}, {62, false}, {55, false}, {57, false}, {62, false},
         {55, false}, {57, false}, {54, true}, {59, true}, {55, false}, {57, false}, {62, false}, {62, false}},
        {{69, 0.5f}, {74, 0.5f}, {78, 0.5f}, {81, 2.5f},
         {83, 1}, {81, 0.5f}, {79, 0.5f}, {83, 2},
         {78, 1}, {74, 1}, {71, 1}, {74, 1},
         {76, 1.5f}, {78, 0.5f}, {76, 1}, {73, 1},
         {69, 0.5f}, {74, 0.5f}, {78, 0.5f}, {81, 2.5f},
         {86, 1.5f}, {83, 0.5f}, {79, 1}, {83, 1},
         {81, 1}, {79, 1}, {78, 1}, {76, 1},
         {74, 3}, {0, 1},
         {83, 1}, {83, 0.5f}, {81, 0.5f}, {79, 1}, {83, 1},
         {85, 1}, {81, 1}, {76, 2},
         {78, 1}, {81, 1}, {85, 1}, {81, 1},
         {83, 2}, {78, 2},
         {79, 1}, {81, 1}, {83, 1}, {86, 1},
         {85, 1.5f}, {83, 0.5f}, {81, 1}, {85, 1},
         {86, 4},
         {74, 1}, {78, 1}, {81, 2}},
        &kBrass, 0.2f, 0.5,
        {0.0f, 1.0f, 2.0f, 3.0f}, {0.0f, 1.5f, 2.0f}, {1.0f, 3.0f}, 0.5, 0};
}

// A minor, driving, for the fly-through of the game intro and ending.
Piece IntroPiece() {
    return Piece{
        "intro_race_music.wav", 112.0,
        {{57, true}, {53, false}, {60, false}, {55, false}, {57, true}, {53, false}, {55, false}, {52, false},
         {53, false}, {55, false}, {52, true}, {57, true}, {53, false}, {55, false}, {52, false}, {52, false}},
        {{69, 1}, {72, 1}, {76, 1.5f}, {74, 0.5f},
         {72, 1}, {69, 1}, {77, 2},
         {76, 1}, {79, 1}, {84, 1.5f}, {83, 0.5f},
         {81, 1}, {79, 1}, {74, 2},
         {76, 1.5f}, {74, 0.5f}, {72, 1}, {76, 1},
         {81, 1.5f}, {79, 0.5f}, {77, 1}, {81, 1},
         {79, 1}, {77, 1}, {74, 1}, {71, 1},
         {76, 2}, {71, 1}, {68, 1},
         {84, 2}, {81, 1}, {77, 1},
         {83, 2}, {79, 1}, {74, 1},
         {76, 1}, {79, 1}, {83, 1}, {79, 1},
         {81, 3}, {76, 1},
         {77, 1}, {81, 1}, {84, 1}, {81, 1},
         {86, 1.5f}, {84, 0.5f}, {83, 1}, {79, 1},
         {83, 2}, {80, 1}, {76, 1},
         {76, 3}, {0, 1}},
        &kLead, 0.2f, 0.25,
        {0.0f, 0.5f, 1.0f, 1.5f, 2.0f, 2.5f, 3.0f, 3.5f}, {0.0f, 1.0f, 2.0f, 3.0f}, {1.0f, 3.0f}, 0.5, 2};
}

}  // namespace

std::vector<GameSound> MusicPieces() {
    std::vector<GameSound> pieces;
    for (const Piece& piece : {MenuPiece(), ResultsPiece(), IntroPiece()})
        pieces.push_back({piece.file, RenderPiece(piece), 0.7f});
    return pieces;
}
