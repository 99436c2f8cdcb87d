#pragma once

#include "imagewriter.h"

// Where a card looks from: behind and above the race camera's start, along the start heading, tilted down.
struct CardView {
    float back, up;  // units
    float lookDown;  // degrees
};

// Renders track n (1 .. 24) on the CPU from the files already written for it: its script, track and sky
// models and their textures, lit by its sun, lamps and ambient light and veiled by its fog. Run from the
// game's bin folder, like the game. False (with a message on stderr) when the script's models cannot be read.
bool RenderTrackPicture(int track, const CardView& view, int width, int height, RgbImage& out);
