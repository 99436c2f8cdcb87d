#include "data/sectorfiles.h"

#include <cmath>
#include <cstdio>

namespace {

// A sector timed longer than a day is no sector of a race.
constexpr float kLongestSector = 86400.0f;

// The lines of a text, each without its line break; a text ending in one has no empty last line.
std::vector<std::string> Lines(const char* text, size_t size) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < size) {
        size_t end = start;
        while (end < size && text[end] != '\n') ++end;
        lines.emplace_back(text + start, end - start);
        start = end + 1;
    }
    return lines;
}

// Whether sscanf read `count` values and then, at `used`, the line's end (an embedded zero ends the scan
// early and leaves the rest unread).
bool WholeLine(const std::string& line, int read, int count, int used) {
    return read == count && used >= 0 && size_t(used) == line.size();
}

bool ReadTimes(const std::string& line, const char* keyword, float (&times)[kNumSectors]) {
    const std::string format = std::string(keyword) + " %f %f %f %f%n";
    int used = -1;
    const int read = sscanf(line.c_str(), format.c_str(), &times[0], &times[1], &times[2], &times[3], &used);
    if (!WholeLine(line, read, kNumSectors, used))
        return false;
    for (float t : times)
        if (!(t >= 0.0f && t <= kLongestSector))
            return false;
    return true;
}

}  // namespace

bool ReadRoute(const char* text, size_t size, std::vector<RoutePoint>& out, std::string& why) {
    out.clear();
    const std::vector<std::string> lines = Lines(text, size);
    if (lines.size() > kMaxRoutePoints)
        why = "it has too many points";
    for (size_t i = 0; i < lines.size() && why.empty(); ++i) {
        RoutePoint p;
        int used = -1;
        const int read = sscanf(lines[i].c_str(), "POINT %f %f %f%n", &p.x, &p.y, &p.z, &used);
        if (!WholeLine(lines[i], read, 3, used) || !std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            why = "line " + std::to_string(i + 1) + " is no point";
        else
            out.push_back(p);
    }
    bool spread = false;
    for (const RoutePoint& p : out)
        spread = spread || p.x != out[0].x || p.y != out[0].y || p.z != out[0].z;
    if (why.empty() && !spread)
        why = "it has no length";
    if (!why.empty())
        out.clear();
    return why.empty();
}

bool ReadSectorTimes(const char* text, size_t size, SectorTimes& out, std::string& why) {
    out = SectorTimes();
    const std::vector<std::string> lines = Lines(text, size);
    if (lines.size() != 2 || !ReadTimes(lines[0], "BEST", out.best) ||
        !ReadTimes(lines[1], "LOWEST", out.lowest)) {
        out = SectorTimes();
        why = "it is not a BEST and a LOWEST line of four times";
        return false;
    }
    return true;
}

std::string FormatSectorTimes(const SectorTimes& times) {
    std::string text;
    const char* keys[2] = {"BEST", "LOWEST"};
    const float* rows[2] = {times.best, times.lowest};
    for (int r = 0; r < 2; ++r) {
        char line[128];
        snprintf(line, sizeof line, "%s %.3f %.3f %.3f %.3f\n", keys[r], double(rows[r][0]), double(rows[r][1]),
                 double(rows[r][2]), double(rows[r][3]));
        text += line;
    }
    return text;
}
