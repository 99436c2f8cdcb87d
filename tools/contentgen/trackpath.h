#pragma once

#include <cmath>
#include <vector>

#include "meshbuilder.h"

inline float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline float Len(const Vec3& a) { return std::sqrt(Dot(a, a)); }
inline Vec3 Lerp(const Vec3& a, const Vec3& b, float t) { return a + (b - a) * t; }

// One sample of a track's centre line with the frame the cross-section is swept in.
struct PathFrame {
    Vec3 pos;
    Vec3 forward;
    Vec3 side;  // to the right of forward
    Vec3 up;
    float distance = 0.0f;  // along the line from its start
};

// A smooth line through the control points (Catmull-Rom), sampled every `spacing` units. The frame keeps
// up as close to world +Y as the line allows, so floors stay level through bends.
std::vector<PathFrame> SamplePath(const std::vector<Vec3>& controls, float spacing);

