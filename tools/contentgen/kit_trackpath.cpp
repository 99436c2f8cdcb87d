#include "trackpath.h"

namespace {

Vec3 CatmullRom(Vec3 p0, Vec3 p1, Vec3 p2, Vec3 p3, float t) {
    const float t2 = t * t, t3 = t2 * t;
    return (p1 * 2.0f + (p2 - p0) * t + (p0 * 2.0f - p1 * 5.0f + p2 * 4.0f - p3) * t2 +
            (p1 * 3.0f - p0 - p2 * 3.0f + p3) * t3) *
           0.5f;
}

}  // namespace

std::vector<PathFrame> SamplePath(const std::vector<Vec3>& controls, float spacing) {
    std::vector<PathFrame> out;
    if (controls.size() < 2)
        return out;
    // A dense polyline first, then resampled at even spacing.
    std::vector<Vec3> dense;
    const size_t n = controls.size();
    for (size_t i = 0; i + 1 < n; i++) {
        const Vec3 p0 = controls[i > 0 ? i - 1 : 0];
        const Vec3 p3 = controls[i + 2 < n ? i + 2 : n - 1];
        for (int k = 0; k < 32; k++)
            dense.push_back(CatmullRom(p0, controls[i], controls[i + 1], p3, k / 32.0f));
    }
    dense.push_back(controls.back());

    float travelled = 0.0f, nextAt = 0.0f;
    for (size_t i = 0; i + 1 < dense.size(); i++) {
        const float segment = Len(dense[i + 1] - dense[i]);
        while (segment > 0.0f && nextAt <= travelled + segment) {
            PathFrame f;
            f.pos = Lerp(dense[i], dense[i + 1], (nextAt - travelled) / segment);
            f.distance = nextAt;
            out.push_back(f);
            nextAt += spacing;
        }
        travelled += segment;
    }
    for (size_t i = 0; i < out.size(); i++) {
        const Vec3 ahead = out[i + 1 < out.size() ? i + 1 : i].pos;
        const Vec3 behind = out[i > 0 ? i - 1 : i].pos;
        PathFrame& f = out[i];
        f.forward = Normalized(ahead - behind);
        f.side = Normalized(Cross(f.forward, Vec3{0.0f, 1.0f, 0.0f}));
        f.up = Normalized(Cross(f.side, f.forward));
    }
    return out;
}
