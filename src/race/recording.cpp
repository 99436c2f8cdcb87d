#include "race/recording.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "app/log.h"
#include "platform/files.h"

namespace {

// Lines are read as the game reads every script: pieces of at most 254 characters, line break kept.
constexpr size_t kMaxPiece = 254;

// "nan" and "inf" scan as numbers but would put the vehicle nowhere.
bool Finite(const RecordingSample& s) {
    return std::isfinite(s.time) && std::isfinite(s.x) && std::isfinite(s.y) && std::isfinite(s.z) &&
           std::isfinite(s.yaw) && std::isfinite(s.pitch) && std::isfinite(s.roll);
}

}  // namespace

bool VehicleRecording::Load(const char* path) {
    samples.clear();
    cursor = 0;
    FILE* file = OpenGameFile(path, "rb");
    if (!file) {
        Log("Failed to open recording file %s; the vehicle stays at its start pose", path);
        return false;
    }
    std::string text;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
    fclose(file);
    return Parse(text.data(), text.size(), path);
}

bool VehicleRecording::Parse(const char* text, size_t size, const char* path) {
    samples.clear();
    cursor = 0;
    size_t pos = 0;
    int failures = 0;
    while (pos < size) {
        size_t end = pos;
        while (end < size && end - pos < kMaxPiece && text[end] != '\n') ++end;
        if (end < size && end - pos < kMaxPiece && text[end] == '\n') ++end;
        // sscanf stops at an embedded zero, as it would on a line read by fgets.
        std::string line(text + pos, end - pos);
        pos = end;
        RecordingSample s;
        if (sscanf(line.c_str(), "TIME %f POS %f %f %f HEAD %f AZM %f TILT %f", &s.time, &s.x, &s.y, &s.z, &s.yaw,
                   &s.pitch, &s.roll) == 7 &&
            Finite(s)) {
            samples.push_back(s);
        } else {
            Log("Failed to parse line %s in recording file %s", line.c_str(), path);
            ++failures;
        }
    }
    if (samples.empty()) {
        if (failures == 0) Log("Recording file %s holds no samples; the vehicle stays at its start pose", path);
        return false;
    }
    // The play cursor only moves forward, so a time running backwards would freeze the vehicle mid-flight.
    for (size_t i = 1; i < samples.size(); ++i) {
        if (!(samples[i].time >= samples[i - 1].time)) {
            Log("Recording file %s has time %f after %f (sample %zu); the vehicle stays at its start pose", path,
                samples[i].time, samples[i - 1].time, i + 1);
            samples.clear();
            return false;
        }
    }
    return true;
}

RecordingSample VehicleRecording::Sample(float t) {
    if (samples.empty()) return RecordingSample();
    while (cursor < samples.size() && samples[cursor].time < t) ++cursor;
    if (cursor == 0) return samples[0];
    if (cursor == samples.size()) return samples.back();
    const RecordingSample& p = samples[cursor - 1];
    const RecordingSample& n = samples[cursor];
    const float span = n.time - p.time;  // > 0: p.time < t <= n.time
    const float a = (t - p.time) / span;
    const float b = (n.time - t) / span;
    RecordingSample out;
    out.time = t;
    out.x = p.x * b + n.x * a;
    out.y = p.y * b + n.y * a;
    out.z = p.z * b + n.z * a;
    out.yaw = p.yaw * b + n.yaw * a;
    out.pitch = p.pitch * b + n.pitch * a;
    out.roll = p.roll * b + n.roll * a;
    return out;
}
