// Prints the waypoints the autopilot flies on a track, "x y z" a line, in the game tree's bin folder:
//   autopilot_route TRACK        (TRACK counts from 1)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "data/trackscript.h"
#include "trackdesign.h"

int main(int argc, char** argv) {
    const int track = argc == 2 ? atoi(argv[1]) - 1 : -1;
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
