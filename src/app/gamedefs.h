#pragma once

// Counts and constants every layer shares. Nothing of the game is included here, so the lowest layer may
// use it and the content generator can check its own tables against it.

// Track slots, one card each on the track selection; the profile keeps one best time per slot.
constexpr int kNumTracks = 24;

// Vehicle files, one a vehicle; the profile keeps one owned flag per vehicle.
constexpr int kNumVehicles = 4;

// GLUT key codes: characters from the keyboard callback, then special keys.
constexpr unsigned char kKeyBackspace = 8;
constexpr unsigned char kKeyEnter = 13;
constexpr unsigned char kKeyEscape = 27;
constexpr unsigned char kKeyDelete = 127;
constexpr int kKeyLeft = 100;
constexpr int kKeyUp = 101;
constexpr int kKeyRight = 102;
constexpr int kKeyDown = 103;
