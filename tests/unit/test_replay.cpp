#include <gtest/gtest.h>

#include <string>

#include "app/gamedefs.h"
#include "data/profile.h"
#include "race/raceflow.h"
#include "race/replay.h"
#include "keypress.h"

// The viewer's keys from the keyboard and the pad (A is Enter, the d-pad the arrows, Y its own key) over a
// run of 20 s down -z: seeks stay inside the run, the speed steps and stops at either end, a pause holds
// the clock, the cameras cycle back to the race view; a pose is found by its time wherever the clock jumps.
TEST(Replay, SeekSpeedPauseAndCamerasFromKeysAndPad) {
    struct Case {
        const char* keys;  // R L U D: arrows; s: Space; e: Enter; c: C; y: pad Y
        float clock;       // after the keys and then one second
        float speed;
        int camera;
        bool paused;
    } cases[] = {
        {"", 1.0f, 1.0f, REPLAY_CAMERA_RACE, false},
        {"RR", 11.0f, 1.0f, REPLAY_CAMERA_RACE, false},
        {"RRRRRR", 20.0f, 1.0f, REPLAY_CAMERA_RACE, false},  // held at the end
        {"RL", 1.0f, 1.0f, REPLAY_CAMERA_RACE, false},
        {"L", 1.0f, 1.0f, REPLAY_CAMERA_RACE, false},  // not before the start
        {"UUU", 2.0f, 2.0f, REPLAY_CAMERA_RACE, false},
        {"DDDD", 0.25f, 0.25f, REPLAY_CAMERA_RACE, false},
        {"DDU", 0.5f, 0.5f, REPLAY_CAMERA_RACE, false},
        {"Rs", 5.0f, 1.0f, REPLAY_CAMERA_RACE, true},
        {"ss", 1.0f, 1.0f, REPLAY_CAMERA_RACE, false},
        {"eR", 5.0f, 1.0f, REPLAY_CAMERA_RACE, true},
        {"c", 1.0f, 1.0f, REPLAY_CAMERA_CHASE, false},
        {"cy", 1.0f, 1.0f, REPLAY_CAMERA_TRACKSIDE, false},
        {"ccy", 1.0f, 1.0f, REPLAY_CAMERA_ORBIT, false},
        {"cccc", 1.0f, 1.0f, REPLAY_CAMERA_RACE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        gReplay = Replay();
        for (int t = 0; t <= 20; ++t) gReplay.samples.push_back({0.0f, 0.0f, -10.0f * float(t), float(t)});
        CReplayPhysics viewer;
        viewer.enter();
        for (const char* k = c.keys; *k; ++k) {
            switch (*k) {
            case 'R': Special(viewer, kKeyRight); break;
            case 'L': Special(viewer, kKeyLeft); break;
            case 'U': Special(viewer, kKeyUp); break;
            case 'D': Special(viewer, kKeyDown); break;
            case 'y': Special(viewer, kKeyPadY); break;
            case 'e': Key(viewer, kKeyEnter); break;
            default: Key(viewer, *k == 's' ? ' ' : *k); break;
            }
        }
        viewer.update(1.0f);
        EXPECT_FLOAT_EQ(gReplay.clock, c.clock);
        EXPECT_FLOAT_EQ(kReplaySpeeds[gReplay.speed], c.speed);
        EXPECT_EQ(gReplay.camera, c.camera);
        EXPECT_EQ(gReplay.paused, c.paused);
        EXPECT_FLOAT_EQ(gReplay.PoseAt(gReplay.clock).z, -10.0f * c.clock);
    }
    EXPECT_FLOAT_EQ(gReplay.PoseAt(-1.0f).z, 0.0f);
    EXPECT_FLOAT_EQ(gReplay.PoseAt(12.25f).z, -122.5f);
}

// W on a card without a best run of its track opens nothing (the card plays its alert).
TEST(Replay, NoBestRunToWatch) {
    gProfile = Profile();
    gSelectedTrack = 0;
    gRequestedState = STATE_TRACK_SELECT;
    EXPECT_FALSE(WatchBestRun());
    gProfile.bestTimes[0] = 30.0f;  // a time without its ghost file
    EXPECT_FALSE(WatchBestRun());
    EXPECT_EQ(gRequestedState, STATE_TRACK_SELECT);
}
