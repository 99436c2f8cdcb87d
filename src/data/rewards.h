#pragma once

#include <cstdint>
#include <string>

enum { MEDAL_NONE = 0, MEDAL_BRONZE = 1, MEDAL_SILVER = 2, MEDAL_GOLD = 3 };

// The cup a time earns against a track's medal times: a time equal to a medal time does not earn it, and no
// time (0, as a profile keeps a track not yet finished) earns none.
int MedalOfTime(float seconds, float goldTime, float silverTime, float bronzeTime);

// Money in whole dollars with a thousands comma from 1000 up: 1,234,567$ / 1,005$ / 7$ / -250$.
std::string FormatCash(int32_t cash);
// A prize always shows the thousands comma, so it lines up with its neighbours: 0,500$ / 12,500$.
std::string FormatPrize(int32_t prize);
