// Flies one race with no window, from a scripted input file, in the game tree's bin folder:
//   headless_race TRACK VEHICLE INPUT DT TIME_LIMIT
// TRACK and VEHICLE count from 1. Prints the outcome and the box the vehicle stayed in.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/settings.h"
#include "race/headless.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        fprintf(stderr, "usage: headless_race TRACK VEHICLE INPUT DT TIME_LIMIT\n");
        return 2;
    }
    std::ifstream file(argv[3], std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    std::vector<RaceInput> inputs;
    if (!LoadSettings() || !file || !ParseRaceInput(text.str(), argv[3], inputs)) {
        fprintf(stderr, "headless_race: cannot read the settings or %s\n", argv[3]);
        return 2;
    }
    const float dt = strtof(argv[4], nullptr), limit = strtof(argv[5], nullptr);
    CHeadlessRace race;
    if (!race.Load(atoi(argv[1]) - 1, atoi(argv[2]) - 1)) {
        fprintf(stderr, "headless_race: track %s did not load\n", argv[1]);
        return 2;
    }
    race.Start(inputs);
    float lo[3] = {race.camera.x, race.camera.y, race.camera.z}, hi[3] = {lo[0], lo[1], lo[2]};
    HeadlessOutcome o = race.Outcome();
    while (!o.finished && !o.paused && o.time < limit) {
        race.Frame(dt);
        o = race.Outcome();
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], o.position[i]);
            hi[i] = std::max(hi[i], o.position[i]);
        }
    }
    printf("finished %d paused %d time %.3f frames %ld position %.3f %.3f %.3f damage %d speed %.3f\n", o.finished,
           o.paused, o.time, o.frames, o.position[0], o.position[1], o.position[2], o.damage, o.speed);
    printf("box %.3f %.3f %.3f %.3f %.3f %.3f\n", lo[0], hi[0], lo[1], hi[1], lo[2], hi[2]);
    return 0;
}
