#include <gtest/gtest.h>

#include <SDL.h>

#include "app/input.h"
#include "app/padinput.h"
#include "data/keybinding.h"
#include "testutil.h"

namespace {

const int kW = 1024;
const int kH = 768;
const KeyBinding kBindings[NUM_BINDINGS] = {{'a', false}, {'z', false}, {100, true},
                                            {102, true},  {'e', false}, {103, true}};

// Mouse pixels a stick held at `axis` gives over `frames` frames of `dt` seconds.
int SteerFor(float axis, int frames, float dt) {
    float carry = 0.0f;
    int total = 0;
    for (int i = 0; i < frames; ++i)
        total += StickPixels(axis, 720.0f, dt, carry);
    return total;
}

// A pad holding the controls named: A, B, S (Start), Y, D and L (the d-pad's down and left), T (right trigger),
// ^ (the stick pushed up).
PadState Holding(const std::string& held) {
    const std::pair<char, int> buttons[] = {{'A', PAD_A}, {'B', PAD_B},         {'S', PAD_START},
                                            {'Y', PAD_Y}, {'D', PAD_DPAD_DOWN}, {'L', PAD_DPAD_LEFT}};
    PadState pad;
    for (const auto& [name, button] : buttons)
        pad.buttons[button] = held.find(name) != std::string::npos;
    pad.rightTrigger = held.find('T') != std::string::npos ? 1.0f : 0.0f;
    pad.stickY = held.find('^') != std::string::npos ? 0.9f : 0.0f;
    return pad;
}

// The key events of one frame of 10 ms, as "+code" for a press and "-code" for a release.
std::string Frame(PadTracker& t, const PadState& pad, bool racing) {
    std::vector<PadEvent> events;
    TrackPad(t, pad, racing, 0.01f, kBindings, events);
    std::string out;
    for (const PadEvent& e : events)
        if (!e.isMove)
            out += (e.down ? "+" : "-") + std::to_string(e.code);
    return out;
}

}  // namespace

// A simulated X pointer: every movement makes a motion event; a warp takes effect only once the events
// already queued have been handed out, and then makes an event of its own. The first event only remembers.
TEST(Mouse, WarpingKeepsDeltasContinuous) {
    for (int queued : {1, 2, 3}) {
        SCOPED_TRACE(testing::Message() << queued << " events queued before a warp takes effect");
        MouseTracker t;
        int x = kW / 2, y = kH / 2;
        EXPECT_FALSE(TrackMouse(t, x, y, kW, kH).deliver);
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

// A stick drifting inside the dead zone, either way, steers nothing; outside it the steering grows from
// zero to full, with its sign, and adds up to the same motion however the time is cut into frames.
// One pad's frames of 10 ms, each after the key 'a' pressed (+) or let go (-) on the keyboard ("k": handed on). A
// d-pad arrow held 0.95 s repeats from 0.4 s every 0.1 s in the menus, not in a race; Y presses its own key once.
// Trigger and button for one key press it once and release it when both are let go; a button held from the race
// into the results keeps its race key, so it cannot confirm them by accident. Held through the countdown, B and
// the trigger take up their race keys; Start (it resumed the race) stays Esc, the d-pad Left without repeats. A
// key held on the keyboard and the pad stays down until both let go.
TEST(PadInput, StickSteersAlikeAtAnyFrameRateKeysFollowTheStateTheyWerePressedInAndTheMappingFileIsAdded) {
    EXPECT_EQ(SteerFor(0.19f, 600, 0.01f), 0);
    EXPECT_EQ(SteerFor(-0.19f, 600, 0.01f), 0);
    for (int frames : {7, 60, 1000}) {
        EXPECT_NEAR(SteerFor(1.0f, frames, 1.0f / frames), 720, 1) << frames;
        EXPECT_NEAR(SteerFor(-0.6f, frames, 1.0f / frames), -360, 1) << frames;
    }
    const struct {
        const char* held;
        bool racing;
        int frames;
        char keyboard;
        const char* events;
    } steps[] = {
        {"DY^", false, 95, 0, "+513+103+103+103+103+103+103+103"},
        {"", false, 1, 0, "-513-103"},
        {"DY^", true, 95, 0, "+513+103"},
        {"", true, 1, 0, "-513-103"},
        {"A", true, 1, 0, "+97"},
        {"AT", true, 1, 0, ""},
        {"AT", false, 1, 0, ""},
        {"T", false, 1, 0, ""},
        {"S", false, 1, 0, "+27-97"},
        {"A", false, 1, 0, "+13-27"},
        {"SLBT", false, 1, 0, "-13+27+100"},
        {"SLBT", true, 1, 0, "+122+97"},
        {"SLBT", true, 50, 0, ""},
        {"", true, 1, 0, "-122-27-100-97"},
        {"A", true, 1, '+', "k"},  // the keyboard lets go first
        {"A", true, 1, '-', ""},
        {"", true, 1, 0, "-97"},
        {"A", true, 1, '+', "k"},  // the pad lets go first
        {"", true, 1, 0, ""},
        {"", true, 1, '-', "k"},
    };
    PadTracker t;
    for (const auto& s : steps) {
        std::string events;
        if (s.keyboard && TrackKeyboard(t, {s.keyboard == '+' ? 'a' : 'A', false}, s.keyboard == '+'))
            events = "k";
        for (int i = 0; i < s.frames; ++i)
            events += Frame(t, Holding(s.held), s.racing);
        EXPECT_EQ(events, s.events) << s.held << (s.racing ? " racing" : "") << " " << s.keyboard;
    }

    // The player's mapping file is added, each bad line logged once.
    GameTreeSandbox sandbox;
    WriteText(sandbox.Path("gamecontrollerdb.txt"),
              "# a comment\n\n"
              "03000000de2800000112000001000000,Test Pad,a:b0,b:b1,platform:Linux,\n"
              "03000000de2800000212000001000000,Another System's Pad,a:b0,platform:Windows,\n"
              "not a mapping\n");
    InitGamepads();
    char* mapping = SDL_GameControllerMappingForGUID(SDL_JoystickGetGUIDFromString("03000000de2800000112000001000000"));
    EXPECT_NE(std::string(mapping ? mapping : "").find("Test Pad"), std::string::npos);
    SDL_free(mapping);
    mapping = SDL_GameControllerMappingForGUID(SDL_JoystickGetGUIDFromString("03000000de2800000212000001000000"));
    EXPECT_EQ(mapping, nullptr);  // another system's
    SDL_free(mapping);
    ShutdownGamepads();
    EXPECT_EQ(CountOf(LogText(), "gamecontrollerdb.txt line"), 1) << LogText();
    EXPECT_TRUE(Logged("gamecontrollerdb.txt line 5"));
}
