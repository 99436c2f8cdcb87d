#include <gtest/gtest.h>

#include <utility>

#include "hud/hudgauges.h"
#include "hud/hudtimer.h"

TEST(HudTimer, ShowsMinutesSecondsAndHundredths) {
    HudTimer t;
    EXPECT_STREQ(t.text, "00:00.00");
    t.Start(false, 1000);
    t.Tick(1000);
    EXPECT_STREQ(t.text, "00:00.00");
    EXPECT_EQ(gRaceClock, 0u);
    t.Tick(1000 + 65432);
    EXPECT_STREQ(t.text, "01:05.43");
    EXPECT_EQ(gRaceClock, 65432u);
    t.Tick(1000 + 100 * 60000 + 999);
    EXPECT_STREQ(t.text, "100:00.99");
    // Across a wrap of the millisecond counter.
    HudTimer w;
    w.Start(false, 0xFFFFFF00u);
    w.Tick(0x100u);
    EXPECT_EQ(gRaceClock, 0x200u);
    // The largest count still fits the text.
    w.accumulated = 0xFFFFFFFFu - 0x200u;
    w.Tick(0x100u);
    EXPECT_STREQ(w.text, "71582:47.29");
}

TEST(HudTimer, PauseAndResumeKeepTheRaceTime) {
    HudTimer t;
    t.Start(false, 5000);
    t.Tick(6000);
    t.Stop();  // the last draw's value: the results have already read it
    EXPECT_EQ(gRaceClock, 1000u);
    t.Tick(60000);  // stopped: nothing moves, the text keeps its value
    EXPECT_EQ(gRaceClock, 1000u);
    EXPECT_STREQ(t.text, "00:01.00");
    t.Start(true, 90000);
    t.Tick(91000);
    EXPECT_EQ(gRaceClock, 2000u);
    // A new race starts from zero.
    t.Stop();
    t.Start(false, 100000);
    EXPECT_EQ(gRaceClock, 0u);
    t.Tick(100250);
    EXPECT_EQ(gRaceClock, 250u);
}

// The gauges' pictures are checked by the HUD's GL tests; here, the readouts they are given.
TEST(HudGauges, ReadoutsOfAnyText) {
    EXPECT_LT(NeedleAngle(250), 0.0f);  // not limited
    const std::pair<const char*, int> cases[] = {
        {"123", 123}, {"", 0}, {"ENGINE", 0}, {"-5", -5}, {"99999999999999999999", 2147483647}, {nullptr, 0}};
    for (const auto& [text, value] : cases) EXPECT_EQ(ReadoutValue(text), value) << (text ? text : "null");
}
