#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The files of the sector splits. A track's route, "../Scripts/track<N>_route.txt", is the course pilot's
// flight as points ("POINT x y z" a line, in flight order), from which the game cuts the course into
// kNumSectors sectors of equal length. A profile's sector times of a track, beside its ghost
// ("track<N>.sectors"), hold the best run's sector times ("BEST s1 s2 s3 s4") and the best time of each
// sector over every run ("LOWEST s1 s2 s3 s4"); 0 is a sector not timed.

constexpr int kNumSectors = 4;
constexpr int kNumGates = kNumSectors - 1;
// A route longer than this many points is refused.
constexpr size_t kMaxRoutePoints = 100000;

struct RoutePoint {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

struct SectorTimes {
    float best[kNumSectors] = {};    // the best run's sectors
    float lowest[kNumSectors] = {};  // each sector's best over every run
};

// Reads a route that must be whole: at least two points, every line a point with finite coordinates, not
// all in one place. On a refusal out is empty and why says what is wrong; nothing is logged.
bool ReadRoute(const char* text, size_t size, std::vector<RoutePoint>& out, std::string& why);
// Reads sector times that must be whole: the BEST line, then the LOWEST line, each of four times from 0 up
// to a day. On a refusal out is all 0 and why says what is wrong; nothing is logged.
bool ReadSectorTimes(const char* text, size_t size, SectorTimes& out, std::string& why);
std::string FormatSectorTimes(const SectorTimes& times);
