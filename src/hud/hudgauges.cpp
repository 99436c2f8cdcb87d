#include "hud/hudgauges.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "app/gamedefs.h"

std::vector<float> ArcAngles(float from, float to, int steps) {
    std::vector<float> angles;
    for (int k = 0; k < steps; ++k)
        angles.push_back(from + (to - from) * float(k) / float(steps));
    angles.push_back(to);
    return angles;
}

float NeedleAngle(int speed) {
    return kPi * (1.0f - float(speed) / 200.0f);
}

float HorizonOffset(float pitch, float size) {
    return std::max(-0.4f * size, std::min(pitch, 0.4f * size));
}

int ReadoutValue(const char* text) {
    const long value = text ? strtol(text, nullptr, 10) : 0;
    return int(std::max<long>(INT_MIN, std::min<long>(value, INT_MAX)));
}
