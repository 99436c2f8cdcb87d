#pragma once

#include <string>
#include <vector>

#include "race/gamephysics.h"
#include "race/vehicle.h"
#include "scene/transformation.h"

struct TrackSettings;

// One scripted input event: a driving key (by binding, delivered through the key the settings bind it to)
// pressed or released, or a relative mouse motion.
struct RaceInput {
    float time = 0.0f;  // seconds since the start of the race
    bool isMouse = false;
    int binding = 0;    // BINDING_FORWARD ... BINDING_DOWN
    bool down = false;
    int dx = 0, dy = 0;
};

// Reads an input script: one event a line, "<time> press|release <control>" with the controls forward,
// brake, left, right, up, down, or "<time> mouse <dx> <dy>"; blank lines and lines starting with # are
// skipped. Events must not go back in time. False, with one log line naming the line, on anything else.
bool ParseRaceInput(const std::string& text, const char* name, std::vector<RaceInput>& out);

// Places the camera where the race starts: seated on the vehicle at its start (where the race fly-over
// leaves a vehicle it does not move).
void PlaceAtRaceStart(CCamera& camera, const TrackSettings& track);

struct HeadlessOutcome {
    bool finished = false;  // reached the goal zone
    bool paused = false;    // the race asked for the pause menu (terminal damage)
    float time = 0.0f;      // race seconds simulated
    long frames = 0;
    float position[3] = {0.0f, 0.0f, 0.0f};
    int damage = 0;
    float speed = 0.0f;
};

// A race with no window: the game's own race logic and flight model on a loaded track, fed by scripted
// input. Needs the working directory of the game (game/bin) and gSettings with the key bindings.
class CHeadlessRace {
public:
    CHeadlessRace();

    // Reads the vehicle files (once), the track script and model, builds the collision world and places
    // the vehicle at the start. track and vehicle count from 0. False when the track has no triangles.
    bool Load(int track, int vehicle);
    // Clears the race clock and queues the input events.
    void Start(const std::vector<RaceInput>& inputs);
    // One frame: delivers the events that are due, then one race update of dt seconds.
    void Frame(float dt);
    // Start, then frames of dt until the goal, the pause menu or the time limit.
    HeadlessOutcome Run(const std::vector<RaceInput>& inputs, float dt, float timeLimit);
    HeadlessOutcome Outcome() const;

    CCamera camera;
    VehicleDynamics dynamics;
    CGamePhysics physics;

private:
    void Deliver(const RaceInput& input);

    std::vector<RaceInput> pending;
    size_t next = 0;
    float clock = 0.0f;
    long frames = 0;
    int requested = 0;  // the first state the race asked for
};
