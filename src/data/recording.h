#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One pose of a recorded flight.
struct RecordingSample {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float time = 0.0f;                            // seconds from the start of the sequence
    float yaw = 0.0f, pitch = 0.0f, roll = 0.0f;  // degrees
};

// A recorded vehicle path ("TIME t POS x y z HEAD yaw AZM pitch TILT roll" per line) played back by the
// scripted sequences. Owned by the track settings; filled when a script names it with VEHICLESCRIPT.
struct VehicleRecording {
    std::vector<RecordingSample> samples;
    size_t cursor = 0;

    // Replaces the samples with the file's. A file that is missing, empty or whose times run backwards
    // leaves the recording empty, with one log line; unreadable lines are logged and skipped.
    bool Load(const char* path);
    // Same rules, reading the file's text from memory (path only names it in the log).
    bool Parse(const char* text, size_t size, const char* path);

    // Pose at time t by linear interpolation; t must not decrease between calls until Rewind. Before the
    // first sample the first one is held, after the last the last one. An empty recording gives a zero pose.
    RecordingSample Sample(float t);
    void Rewind() { cursor = 0; }
    bool Empty() const { return samples.empty(); }
};

// The pose at time t between p and n (angles as plain numbers); n when they share one time.
RecordingSample Interpolate(const RecordingSample& p, const RecordingSample& n, float t);
// The file text of a recording, one line a sample.
std::string FormatRecording(const std::vector<RecordingSample>& samples);
// Reads a recording that must be whole: at least one sample, every line a sample, times in order. On a
// refusal out is empty and why says what is wrong; nothing is logged.
bool ReadWholeRecording(const char* text, size_t size, std::vector<RecordingSample>& out, std::string& why);
// The largest file ReadGameFile reads: a ghost, the largest file the game writes, is saved only up to it.
// A run's line is under 100 bytes, so this holds a run of over ten minutes at a thousand frames a second
// (the race clock's limit) and hours at the frame rates the game is drawn at.
constexpr size_t kMaxGameFileSize = size_t(64) << 20;
// The whole content of a regular file of at most kMaxGameFileSize bytes ("" and false otherwise: a missing
// file silently, anything else with a log line).
bool ReadGameFile(const char* path, std::string& text);
