#include "data/recording.h"

#include <cmath>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The next piece of text from pos, as fgets would give it; false at the end.
bool NextLine(const char* text, size_t size, size_t& pos, std::string& line) {
    if (pos >= size)
        return false;
    size_t end = pos;
    while (end < size && end - pos < kMaxPiece && text[end] != '\n') ++end;
    if (end < size && end - pos < kMaxPiece && text[end] == '\n') ++end;
    // sscanf stops at an embedded zero, as it would on a line read by fgets.
    line.assign(text + pos, end - pos);
    pos = end;
    return true;
}

bool ScanSample(const std::string& line, RecordingSample& s) {
    return sscanf(line.c_str(), "TIME %f POS %f %f %f HEAD %f AZM %f TILT %f", &s.time, &s.x, &s.y, &s.z, &s.yaw,
                  &s.pitch, &s.roll) == 7 &&
           Finite(s);
}

// The play cursor only moves forward, so a time running backwards would freeze the vehicle mid-flight.
// The index of the first sample earlier than the one before it, 0 when they are in order.
size_t FirstBackwards(const std::vector<RecordingSample>& samples) {
    for (size_t i = 1; i < samples.size(); ++i)
        if (!(samples[i].time >= samples[i - 1].time))
            return i;
    return 0;
}

}  // namespace

bool ReadGameFile(const char* path, std::string& text) {
    text.clear();
    // Opened without waiting, so a FIFO put in the file's place cannot stall it; only a regular file is read.
    const int fd = open(GamePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;  // a missing file: what that means is the caller's to say
    struct stat info;
    const char* why = fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ? "not a regular file"
                      : info.st_size > off_t(kMaxGameFileSize)         ? "larger than any file the game writes"
                                                                       : nullptr;
    char chunk[65536];
    ssize_t got = 0;
    // A file still growing is cut off one chunk past the limit.
    while (!why && (got = read(fd, chunk, sizeof chunk)) > 0) {
        text.append(chunk, size_t(got));
        if (text.size() > kMaxGameFileSize)
            why = "larger than any file the game writes";
    }
    if (!why && got < 0)
        why = "a read error";
    close(fd);
    if (why) {
        Log("Failed to read %s: %s", path, why);
        text.clear();
    }
    return !why;
}

bool VehicleRecording::Load(const char* path) {
    std::string text;
    if (!ReadGameFile(path, text)) {
        samples.clear();
        cursor = 0;
        Log("Failed to open recording file %s; the vehicle stays at its start pose", path);
        return false;
    }
    return Parse(text.data(), text.size(), path);
}

bool VehicleRecording::Parse(const char* text, size_t size, const char* path) {
    samples.clear();
    cursor = 0;
    size_t pos = 0;
    int failures = 0;
    std::string line;
    while (NextLine(text, size, pos, line)) {
        RecordingSample s;
        if (ScanSample(line, s)) {
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
    const size_t backwards = FirstBackwards(samples);
    if (backwards) {
        Log("Recording file %s has time %f after %f (sample %zu); the vehicle stays at its start pose", path,
            samples[backwards].time, samples[backwards - 1].time, backwards + 1);
        samples.clear();
        return false;
    }
    return true;
}

bool ReadWholeRecording(const char* text, size_t size, std::vector<RecordingSample>& out, std::string& why) {
    out.clear();
    size_t pos = 0;
    std::string line;
    while (NextLine(text, size, pos, line)) {
        RecordingSample s;
        if (!ScanSample(line, s)) {
            why = "line " + std::to_string(out.size() + 1) + " is not a sample";
            out.clear();
            return false;
        }
        out.push_back(s);
    }
    if (out.empty()) {
        why = "it holds no samples";
        return false;
    }
    if (const size_t backwards = FirstBackwards(out)) {
        why = "its time runs backwards at line " + std::to_string(backwards + 1);
        out.clear();
        return false;
    }
    return true;
}

std::string FormatRecording(const std::vector<RecordingSample>& samples) {
    std::string text;
    char line[256];
    for (const RecordingSample& s : samples) {
        snprintf(line, sizeof line, "TIME %f POS %f %f %f HEAD %f AZM %f TILT %f\n", s.time, s.x, s.y, s.z, s.yaw,
                 s.pitch, s.roll);
        text += line;
    }
    return text;
}

RecordingSample VehicleRecording::Sample(float t) {
    if (samples.empty()) return RecordingSample();
    while (cursor < samples.size() && samples[cursor].time < t) ++cursor;
    if (cursor == 0) return samples[0];
    if (cursor == samples.size()) return samples.back();
    return Interpolate(samples[cursor - 1], samples[cursor], t);
}

RecordingSample Interpolate(const RecordingSample& p, const RecordingSample& n, float t) {
    const float span = n.time - p.time;
    if (!(span > 0.0f))
        return n;
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
