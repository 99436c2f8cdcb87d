#include <gtest/gtest.h>

#include "app/input.h"
#include "data/keybinding.h"

namespace {

const int kW = 1024;
const int kH = 768;

KeyBinding Key(int code, bool special = false) {
    return KeyBinding{code, special};
}

}  // namespace

TEST(KeyBindings, Names) {
    // The control page's test and the journey read F7, Left, Home and "#50" off the page.
    EXPECT_EQ(KeyBindingName(Key(12, true)), "F12");
    EXPECT_EQ(KeyBindingName(Key(13)), "Enter");
    // Codes without a name of their own still show something, and never more than 7 characters.
    for (int code : {-2147483647 - 1, -1, 0, 13, 31, 99, 109, 128, 255, 1000, 123456, 2147483647})
        for (bool special : {false, true}) {
            const std::string name = KeyBindingName(Key(code, special));
            EXPECT_FALSE(name.empty()) << code;
            EXPECT_LE(name.size(), 7u) << code;
        }
}

// The first event only remembers the position; after it, borders 40 pixels in recentre the pointer.
TEST(Mouse, FirstEventOnlyRemembersAndBordersAt40PixelsRecentre) {
    struct Case {
        int x, y;
        bool warp;
    };
    const Case cases[] = {{41, 300, false}, {40, 300, true}, {kW - 41, 300, false}, {kW - 40, 300, true},
                          {500, 41, false}, {500, 40, true}, {500, kH - 41, false}, {500, kH - 40, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        MouseTracker t;
        const MouseStep first = TrackMouse(t, kW / 2, kH / 2, kW, kH);
        EXPECT_FALSE(first.deliver);
        EXPECT_FALSE(first.warp);
        const MouseStep s = TrackMouse(t, c.x, c.y, kW, kH);
        EXPECT_TRUE(s.deliver);
        EXPECT_EQ(s.warp, c.warp);
        EXPECT_EQ(s.dx, c.x - kW / 2);
        EXPECT_EQ(s.dy, c.y - kH / 2);
        if (c.warp) {
            EXPECT_EQ(s.warpX, 512);
            EXPECT_EQ(s.warpY, 384);
            // The warp's own event, at the centre, is delivered with no movement.
            const MouseStep back = TrackMouse(t, kW / 2, kH / 2, kW, kH);
            EXPECT_TRUE(back.deliver);
            EXPECT_EQ(back.dx, 0);
            EXPECT_EQ(back.dy, 0);
        }
    }
    MouseTracker odd;
    TrackMouse(odd, 100, 100, 801, 601);
    const MouseStep s = TrackMouse(odd, 0, 100, 801, 601);
    EXPECT_EQ(s.warpX, 400);
    EXPECT_EQ(s.warpY, 300);
}

// A simulated X pointer: every movement makes a motion event; a warp takes effect only once the events
// already queued have been handed out, and then makes an event of its own.
TEST(Mouse, WarpingKeepsDeltasContinuous) {
    for (int queued : {1, 2, 3}) {
        SCOPED_TRACE(testing::Message() << queued << " events queued before a warp takes effect");
        MouseTracker t;
        int x = kW / 2, y = kH / 2;
        TrackMouse(t, x, y, kW, kH);
        long moved[2] = {0, 0}, delivered[2] = {0, 0};
        int warps = 0;
        for (int burst = 0; burst < 120; ++burst) {
            std::vector<std::pair<int, int>> events;
            for (int i = 0; i < queued; ++i) {
                const int dx = 23 + (burst % 5), dy = (burst % 3) - 1;
                x += dx, y += dy;
                moved[0] += dx, moved[1] += dy;
                events.push_back({x, y});
            }
            MouseStep warp;
            for (auto [ex, ey] : events) {
                const MouseStep s = TrackMouse(t, ex, ey, kW, kH);
                ASSERT_TRUE(s.deliver);
                delivered[0] += s.dx, delivered[1] += s.dy;
                EXPECT_LT(std::abs(s.dx), 40) << "a jump of " << s.dx;
                if (s.warp) warp = s;
            }
            if (!warp.warp) continue;
            ++warps;
            x = warp.warpX, y = warp.warpY;
            const MouseStep back = TrackMouse(t, x, y, kW, kH);
            delivered[0] += back.dx, delivered[1] += back.dy;
            EXPECT_EQ(back.dx, 0);
        }
        EXPECT_GT(warps, 3);
        EXPECT_EQ(delivered[0], moved[0]);
        EXPECT_EQ(delivered[1], moved[1]);
    }
}
