#include "race/headless.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "app/log.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "race/collision.h"
#include "scene/milkshape.h"

namespace {

const char* const kControlNames[NUM_BINDINGS] = {"forward", "brake", "left", "right", "up", "down"};

int ControlIndex(const char* word) {
    for (int i = 0; i < NUM_BINDINGS; ++i)
        if (strcmp(word, kControlNames[i]) == 0)
            return i;
    return -1;
}

bool ParseInputLine(const char* line, RaceInput& event) {
    char verb[16], control[16], rest[2];
    if (sscanf(line, "%f %15s %d %d %1s", &event.time, verb, &event.dx, &event.dy, rest) == 4 &&
        strcmp(verb, "mouse") == 0) {
        event.isMouse = true;
        return std::isfinite(event.time);
    }
    if (sscanf(line, "%f %15s %15s %1s", &event.time, verb, control, rest) != 3)
        return false;
    event.binding = ControlIndex(control);
    event.down = strcmp(verb, "press") == 0;
    return std::isfinite(event.time) && event.binding >= 0 && (event.down || strcmp(verb, "release") == 0);
}

}  // namespace

bool ParseRaceInput(const std::string& text, const char* name, std::vector<RaceInput>& out) {
    out.clear();
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        number++;
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#')
            continue;
        RaceInput event;
        if (!ParseInputLine(line.c_str(), event) || (!out.empty() && event.time < out.back().time)) {
            Log("Race input %s, line %d: cannot use \"%s\"", name, number, line.c_str());
            out.clear();
            return false;
        }
        out.push_back(event);
    }
    return true;
}

void PlaceAtRaceStart(CCamera& camera, const TrackSettings& track) {
    const float* p = track.vehicleStartPosition;
    camera.SeatOn({p[0], p[1], p[2], track.vehicleStartHeading});
}

CHeadlessRace::CHeadlessRace() : physics(&camera, &dynamics) {}

bool CHeadlessRace::Load(int track, int vehicle) {
    LoadVehicles(nullptr, nullptr);
    gSelectedVehicle = vehicle;
    dynamics = MakeDynamics(SelectedVehicleDefinition());
    LoadTrackSettings(TrackScriptPath(track).c_str(), gTrackSettings);
    gTrackModel.Clear();
    gTrackModel.Load(gTrackSettings.trackModel);
    physics.PrepareRace();
    PlaceAtRaceStart(camera, gTrackSettings);
    Start({});
    if (physics.collisionWorld->allTriangles.empty()) {
        Log("Headless race: track %d has nothing to collide with", track + 1);
        return false;
    }
    return true;
}

void CHeadlessRace::Deliver(const RaceInput& input) {
    if (input.isMouse) {
        physics.onMouseMove(input.dx, input.dy);
        return;
    }
    const KeyBinding& key = gSettings.keys[input.binding];
    if (key.special)
        physics.onSpecialKey(key.code, input.down);
    else
        physics.onKey(static_cast<unsigned char>(key.code), input.down);
}

void CHeadlessRace::Frame(float dt) {
    while (next < pending.size() && pending[next].time <= clock)
        Deliver(pending[next++]);
    gRequestedState = STATE_RACE;
    physics.update(dt);
    if (requested == 0 && gRequestedState != STATE_RACE)
        requested = gRequestedState;
    clock += dt;
    frames++;
}

void CHeadlessRace::Start(const std::vector<RaceInput>& inputs) {
    pending = inputs;
    next = 0;
    physics.steps = 0;
    clock = 0.0f;
    frames = 0;
    requested = 0;
}

HeadlessOutcome CHeadlessRace::Run(const std::vector<RaceInput>& inputs, float dt, float timeLimit) {
    Start(inputs);
    while (clock < timeLimit && requested == 0)
        Frame(dt);
    return Outcome();
}

HeadlessOutcome CHeadlessRace::Outcome() const {
    HeadlessOutcome o;
    o.finished = requested == STATE_RACE_COMPLETED;
    o.paused = requested == STATE_INGAME_MENU;
    o.time = clock;
    o.frames = frames;
    o.position[0] = camera.x;
    o.position[1] = camera.y;
    o.position[2] = camera.z;
    o.damage = dynamics.damage;
    o.speed = dynamics.speed;
    return o;
}
