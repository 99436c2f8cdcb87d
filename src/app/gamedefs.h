#pragma once

// Counts and constants every layer shares. Nothing of the game is included here, so the lowest layer may
// use it and the content generator can check its own tables against it.

constexpr double kPiDouble = 3.141592653589793;  // for sums that need it, such as sound synthesis
constexpr float kPi = float(kPiDouble);
constexpr float kDegreesPerRadian = 57.29578f;

// Track slots, one card each on the track selection; the profile keeps one best time per slot.
constexpr int kNumTracks = 24;
// Vehicles, each with its script, model and HUD; the profile keeps which of them it owns.
constexpr int kNumVehicles = 4;

// Career completion from which the game counts as won: the ending plays and the Hall Of Champions opens.
constexpr float kGameCompletePercent = 99.99f;

// The vehicle model is the race camera turned round (yaw, pitch and roll negated), this much lower.
constexpr float kEyeHeight = 1.0f;

// GLUT key codes: characters from the keyboard callback, then keys from the special-key callback.
enum : unsigned char { kKeyBackspace = 8, kKeyTab = 9, kKeyEnter = 13, kKeyEscape = 27, kKeyDelete = 127 };
enum : int { kKeyF1 = 1, kKeyF12 = 12, kKeyLeft = 100, kKeyUp, kKeyRight, kKeyDown, kKeyInsert = 108 };
// Pad buttons without a key of their own reach the states as special keys beyond every GLUT code.
enum : int { kKeyPadBack = 0x200, kKeyPadY };
