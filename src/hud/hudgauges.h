#pragma once

#include <vector>

// steps + 1 angles in radians evenly from `from` to `to`, both included, computed by index so that rounding
// never adds or drops a point. The speedometer dial and the horizon bezel are built from these.
std::vector<float> ArcAngles(float from, float to, int steps);

// Needle angle of the speedometer: pi at 0 km/h, pi/2 at 100, 0 at 200 and on below the right end beyond.
float NeedleAngle(int speed);

// How far the horizon moves for a pitch in degrees: one pixel per degree, at most 0.4 of the instrument size.
float HorizonOffset(float pitch, float size);

// Integer value of a read-out text; 0 when it holds no number.
int ReadoutValue(const char* text);
