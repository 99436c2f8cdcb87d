#include <gtest/gtest.h>

#include <SDL.h>

#include "app/padinput.h"
#include "testutil.h"

namespace {

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

// The key events of one frame, as "+code" for a press and "-code" for a release.
std::string Frame(PadTracker& t, const PadState& pad, bool racing, float dt = 0.01f) {
    std::vector<PadEvent> events;
    TrackPad(t, pad, racing, dt, kBindings, events);
    std::string out;
    for (const PadEvent& e : events)
        if (!e.isMove)
            out += (e.down ? "+" : "-") + std::to_string(e.code);
    return out;
}

}  // namespace

// A stick at rest or drifting inside the dead zone steers nothing; outside it the steering grows from
// zero to full, with its sign, and adds up to the same motion however the time is cut into frames.
TEST(PadInput, StickSteersOutsideTheDeadZoneAlikeAtAnyFrameRate) {
    EXPECT_EQ(SteerFor(0.0f, 600, 0.01f), 0);
    EXPECT_EQ(SteerFor(0.19f, 600, 0.01f), 0);
    EXPECT_EQ(SteerFor(-0.19f, 600, 0.01f), 0);
    EXPECT_NEAR(ApplyDeadZone(0.21f), 0.0f, 0.02f);
    EXPECT_FLOAT_EQ(ApplyDeadZone(-1.0f), -1.0f);
    EXPECT_FLOAT_EQ(ApplyDeadZone(0.6f), 0.5f);
    for (int frames : {7, 60, 1000}) {
        SCOPED_TRACE(frames);
        EXPECT_NEAR(SteerFor(1.0f, frames, 1.0f / frames), 720, 1);
        EXPECT_NEAR(SteerFor(-0.6f, frames, 1.0f / frames), -360, 1);
    }
}

TEST(PadInput, MenuArrowsRepeatWhileHeldAndRaceKeysDoNot) {
    EXPECT_FALSE(RepeatDue(0.0f, 0.39f));
    EXPECT_TRUE(RepeatDue(0.39f, 0.41f));
    EXPECT_FALSE(RepeatDue(0.41f, 0.49f));
    EXPECT_TRUE(RepeatDue(0.49f, 0.51f));
    // Held for 0.95 s: the press, then repeats at 0.4, 0.5 ... 0.9 s; one release. Y, held with it, presses
    // its own key once in either.
    for (bool racing : {false, true}) {
        PadTracker t;
        PadState pad;
        pad.stickY = 0.9f;  // in a race the stick steers instead
        pad.buttons[PAD_DPAD_DOWN] = true;
        pad.buttons[PAD_Y] = true;
        std::string events;
        for (int i = 0; i < 95; ++i)
            events += Frame(t, pad, racing);
        events += Frame(t, PadState(), racing);
        EXPECT_EQ(events, racing ? "+513+103-513-103" : "+513+103+103+103+103+103+103+103-513-103");
    }
}

// Trigger and button for the same key press it once and release it when both are let go; a button held from
// the race into the results keeps its race key until released, so it cannot confirm the results by accident.
TEST(PadInput, KeysFollowTheStateTheyWerePressedIn) {
    PadTracker t;
    PadState pad;
    pad.buttons[PAD_A] = true;
    EXPECT_EQ(Frame(t, pad, true), "+97");
    pad.rightTrigger = 1.0f;
    EXPECT_EQ(Frame(t, pad, true), "");
    EXPECT_EQ(Frame(t, pad, false), "");
    pad.buttons[PAD_A] = false;
    EXPECT_EQ(Frame(t, pad, false), "");
    pad.rightTrigger = 0.0f;
    pad.buttons[PAD_START] = true;
    EXPECT_EQ(Frame(t, pad, false), "+27-97");
    pad.buttons[PAD_A] = true;
    pad.buttons[PAD_START] = false;
    EXPECT_EQ(Frame(t, pad, false), "+13-27");
    // Held through the countdown into the race: B and the trigger take up their race keys; Start, which
    // resumed the race from the pause menu, stays Esc and the d-pad Left without a second press or repeats.
    pad.buttons[PAD_A] = false;
    pad.buttons[PAD_START] = true;
    pad.buttons[PAD_DPAD_LEFT] = true;
    pad.buttons[PAD_B] = true;
    pad.rightTrigger = 1.0f;
    EXPECT_EQ(Frame(t, pad, false), "-13+27+100");
    EXPECT_EQ(Frame(t, pad, true), "+122+97");
    EXPECT_EQ(Frame(t, pad, true, 0.5f), "");
}

// A key held on the keyboard and on the pad stays down until both let go, whichever lets go first.
TEST(PadInput, KeyboardAndPadHoldingOneKeyReleaseItOnce) {
    PadState a;
    a.buttons[PAD_A] = true;
    for (bool padFirst : {false, true}) {
        SCOPED_TRACE(padFirst ? "pad let go first" : "keyboard let go first");
        PadTracker t;
        EXPECT_TRUE(TrackKeyboard(t, {'a', false}, true));
        EXPECT_EQ(Frame(t, a, true), "");
        if (padFirst) {
            EXPECT_EQ(Frame(t, PadState(), true), "");
            EXPECT_TRUE(TrackKeyboard(t, {'A', false}, false));
        } else {
            EXPECT_FALSE(TrackKeyboard(t, {'A', false}, false));
            EXPECT_EQ(Frame(t, PadState(), true), "-97");
        }
    }
}

TEST(PadInput, ThePlayersMappingFileIsAddedAndEachBadLineLoggedOnce) {
    GameTreeSandbox sandbox;
    WriteText(sandbox.Path("gamecontrollerdb.txt"),
              "# a comment\n\n"
              "03000000de2800000112000001000000,Test Pad,a:b0,b:b1,platform:Linux,\n"
              "03000000de2800000212000001000000,Another System's Pad,a:b0,platform:Windows,\n"
              "not a mapping\n");
    InitGamepads();
    const auto mapping = [](const char* guid) {
        char* text = SDL_GameControllerMappingForGUID(SDL_JoystickGetGUIDFromString(guid));
        const std::string found = text ? text : "";
        SDL_free(text);
        return found;
    };
    EXPECT_NE(mapping("03000000de2800000112000001000000").find("Test Pad"), std::string::npos);
    EXPECT_EQ(mapping("03000000de2800000212000001000000"), "");
    ShutdownGamepads();
    const std::string log = ReadText("log.txt");
    EXPECT_EQ(CountOf(log, "gamecontrollerdb.txt line"), 1) << log;
    EXPECT_NE(log.find("gamecontrollerdb.txt line 5"), std::string::npos) << log;
}
