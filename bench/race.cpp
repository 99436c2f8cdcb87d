// Race load time and race steps per second on the generated track 1, headless. Run from game/bin.
// Prints the figures and their ratio to what a 60 Hz game needs.
#include <chrono>
#include <cstdio>

#include "data/settings.h"
#include "race/headless.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main() {
    if (!LoadSettings()) {
        fprintf(stderr, "bench_race: run it from the game tree's bin folder\n");
        return 1;
    }
    CHeadlessRace race;
    constexpr int kLoads = 10;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kLoads; ++i)
        if (!race.Load(0, 0))
            return 1;
    const double load = Seconds(start) / kLoads;
    printf("race load (script, model, collision world): %.1f ms\n", load * 1000.0);

    // Full thrust down the canyon and back into the wall, over and over: every step runs the collision test.
    std::vector<RaceInput> inputs(1);
    inputs[0].binding = BINDING_FORWARD;
    inputs[0].down = true;
    for (float dt : {1.0f / 60.0f, 0.25f}) {
        long frames = 0;
        unsigned long steps = 0;
        double busy = 0.0;
        for (int lap = 0; lap < 20; ++lap) {
            race.Load(0, 0);
            race.Start(inputs);
            start = std::chrono::steady_clock::now();
            HeadlessOutcome o;
            do {
                race.Frame(dt);
                o = race.Outcome();
            } while (!o.finished && o.time < 60.0f);
            busy += Seconds(start);
            frames += o.frames;
            steps += race.physics.steps;
        }
        printf("frames of %.3f s: %.0f motion steps/s (%.1f per frame), %.0f x real time\n", dt, steps / busy,
               double(steps) / frames, frames * dt / busy);
    }
    return 0;
}
