// Flies one race with no window, from a scripted input file, in the game tree's bin folder:
//   headless_race TRACK VEHICLE INPUT DT TIME_LIMIT
// TRACK and VEHICLE count from 1. Prints the outcome and the box the vehicle stayed in.
//   headless_race route TRACK    prints the waypoints the autopilot flies on TRACK, "x y z" a line.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/recording.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "race/headless.h"
#include "scene/transformation.h"
#include "trackdesign.h"

static int PrintRoute(int track) {
    if (track < 0 || track >= kNumTracks)
        return 2;
    TrackSettings s;
    LoadTrackSettings(TrackScriptPath(track).c_str(), s);
    TrackLayout layout;
    if (!BuildTrack(track, layout))
        HandPath(s, layout);
    for (const AutopilotPoint& p : RouteOf(layout))
        printf("%f %f %f\n", p.p[0], p.p[1], p.p[2]);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "route")
        return PrintRoute(atoi(argv[2]) - 1);
    if (argc != 6)
        return 2;
    std::string text;
    std::vector<RaceInput> inputs;
    CHeadlessRace race;
    if (!LoadSettings() || !ReadGameFile(argv[3], text) || !ParseRaceInput(text, argv[3], inputs) ||
        !race.Load(atoi(argv[1]) - 1, atoi(argv[2]) - 1))
        return 2;
    const float dt = strtof(argv[4], nullptr), limit = strtof(argv[5], nullptr);
    race.Start(inputs);
    BoundingBox box;
    box.AddPoint(race.camera.x, race.camera.y, race.camera.z);
    HeadlessOutcome o = race.Outcome();
    while (!o.finished && !o.paused && o.time < limit) {
        race.Frame(dt);
        o = race.Outcome();
        box.AddPoint(o.position[0], o.position[1], o.position[2]);
    }
    printf("finished %d paused %d time %.3f frames %ld position %.3f %.3f %.3f damage %d speed %.3f\n", o.finished,
           o.paused, o.time, o.frames, o.position[0], o.position[1], o.position[2], o.damage, o.speed);
    printf("box %.3f %.3f %.3f %.3f %.3f %.3f\n", box.min[0], box.max[0], box.min[1], box.max[1], box.min[2],
           box.max[2]);
    return 0;
}
