#include "data/rewards.h"

#include <cstdio>

int MedalOfTime(float seconds, float goldTime, float silverTime, float bronzeTime) {
    if (seconds <= 0.0f)
        return MEDAL_NONE;
    if (seconds < goldTime)
        return MEDAL_GOLD;
    if (seconds < silverTime)
        return MEDAL_SILVER;
    if (seconds < bronzeTime)
        return MEDAL_BRONZE;
    return MEDAL_NONE;
}

std::string FormatCash(int32_t cash) {
    char text[32];
    if (cash >= 1000000)
        snprintf(text, sizeof(text), "%d,%03d,%03d$", cash / 1000000, (cash % 1000000) / 1000, cash % 1000);
    else if (cash >= 1000)
        snprintf(text, sizeof(text), "%d,%03d$", cash / 1000, cash % 1000);
    else
        snprintf(text, sizeof(text), "%d$", cash);
    return text;
}

std::string FormatPrize(int32_t prize) {
    if (prize < 0 || prize >= 1000)
        return FormatCash(prize);
    char text[16];
    snprintf(text, sizeof(text), "0,%03d$", prize);
    return text;
}
