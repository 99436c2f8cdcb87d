#pragma once

#include <string>
#include <vector>

#include "data/recording.h"
#include "data/sectorfiles.h"

struct Ghost;
struct TrackSettings;

// Sector splits. Three gates at equal distances along the track's route cut it into four sectors. At each
// gate the HUD shows the split against the chosen ghost's time at that gate, for kSplitShownSeconds; at the
// finish the results list the run's sector times against the best run's and the sum of the best time of
// each sector over every run. A flight's way along the route is measured as the ghost's gap is: the nearest
// point, searched near the point matched before.

constexpr float kSplitShownSeconds = 3.0f;
// A gate time the flight has not: it left the route there, or has not come to it.
constexpr float kNoGateTime = -1.0f;

// The route with each point's distance from the start as its time, and the gates' distances.
struct Route {
    std::vector<RecordingSample> path;
    float gates[kNumGates] = {};
};

// A flight's way along a route: the distance matched last, the pose before, and its time at each gate.
struct RouteProgress {
    float matched = 0.0f;
    int next = 0;  // the next gate to pass
    bool moved = false;
    RecordingSample last;
    float gateTimes[kNumGates] = {kNoGateTime, kNoGateTime, kNoGateTime};
};

// The route of points in order, cut at equal distances; an empty route for fewer than two points.
Route RouteOf(const std::vector<RoutePoint>& points);
// "../Scripts/track<N>_route.txt" (track counts from 0). A route that cannot be read leaves it empty, with
// one log line.
bool LoadRoute(Route& route, int track);
// Moves the progress to the flight's pose; the index of a gate it passed with it (its time set, or
// kNoGateTime when the pose is off the route), -1 for none.
int AdvanceOnRoute(const Route& route, RouteProgress& progress, const RecordingSample& pose);
// A whole flight's progress: its times at the gates.
RouteProgress ProjectFlight(const Route& route, const std::vector<RecordingSample>& flight);
// The sector times of a flight from its gate times and its finish; 0 for a sector a missed gate bounds.
void SectorsOf(const float gateTimes[kNumGates], float finish, float sectors[kNumSectors]);
// Each sector's best of the two (0: not timed).
void KeepLowest(float lowest[kNumSectors], const float sectors[kNumSectors]);
// The sum of the sectors, 0 when one is not timed.
float SumOfSectors(const float sectors[kNumSectors]);

// The splits of the current race.
struct Splits {
    Route route;
    float ghostGates[kNumGates] = {kNoGateTime, kNoGateTime, kNoGateTime};  // the chosen ghost's
    RouteProgress run;
    SectorTimes saved;   // the profile's, as before this run
    bool known = false;  // whether saved holds the profile's times
    float shownUntil = 0.0f;
};
extern Splits gSplits;

// What the results show of the sectors.
struct SectorResults {
    float run[kNumSectors] = {};
    float best[kNumSectors] = {};  // the best run's before this one
    float theoretical = 0.0f;      // the sum of the best sectors, this run's included
};
extern SectorResults gSectorResults;

// "../Profiles/<name>.ghosts/track<N>.sectors".
std::string SectorTimesPath(const char* profile, int track);
// The profile's sector times of the track; missing or damaged, they are rebuilt from the best run's ghost
// (and saved) with one log line. False when there is neither.
bool LoadSectorTimes(SectorTimes& times, const char* profile, int track, float bestTime,
                     const TrackSettings& settings, const Route& route);

// Starts the splits of a race against the ghost as loaded (an empty ghost: no splits shown).
void StartSplits(Splits& splits, const Ghost& ghost, const char* profile, int track, float bestTime,
                 const TrackSettings& settings);
// A race's start: the ghost gGhostChoice gives the track into gGhost, and gSplits against it.
void StartRivals(const char* profile, int track, float bestTime, const TrackSettings& settings);
// Once a frame of the race, with the player's pose by the race clock: writes the HUD's split text.
void FollowSplits(Splits& splits, int state, const RecordingSample& player);
// The split text of a gate passed at `time` against the ghost's time there, "" when either has none.
std::string SplitText(int gate, float time, float ghostTime);
// Books a finished run once: its sectors against the saved ones; a new best's become the best run's. Saves
// the profile's sector times.
SectorResults BookSectors(Splits& splits, const char* profile, int track, float raceTime, bool newBest);
