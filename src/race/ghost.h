#pragma once

#include <string>
#include <vector>

#include "race/recording.h"

class CCamera;
struct TrackSettings;

// The ghost of the best run on a track. A run that sets a new personal best is saved beside the profile as
// a recording, "../Profiles/<name>.ghosts/track<N>.txt", with the vehicle it was flown with in
// "track<N>.vehicle" ("VEHICLE <index>"). Later races of the track fly it again by the race clock, see-through
// and untouchable, and the HUD shows the gap to it.

// Recorded poses are never further apart than this on the race clock.
constexpr float kGhostSampleStep = 0.05f;
// The key that shows and hides the ghost, when no driving key is bound to it.
constexpr unsigned char kGhostKey = 'g';

// Whether ghosts are shown; G toggles it for the run of the game.
extern bool gGhostShown;

// The ghost a race flies: the player's best run of the track, the course pilot (the autopilot's flight that
// set the track's gold time, shipped beside its script) or none. G on the track card chooses, once for all
// tracks and for the run of the game.
enum { GHOST_BEST, GHOST_PILOT, GHOST_NONE, GHOST_CHOICES };
extern int gGhostChoice;  // GHOST_BEST at start
// The choice a track gets: without a best run of its own, the best run gives way to the course pilot.
int GhostChoiceFor(int choice, bool hasBest);
// The choice after the one a track shows (the best run offered only where there is one).
int NextGhostChoice(int choice, bool hasBest);
// Whether the profile has a best run of the track to fly (track counts from 0).
bool HasBestRun(const char* profile, int track, float bestTime);

struct Ghost {
    VehicleRecording path;  // the best run to fly; empty when the race has none
    int vehicle = 0;        // the vehicle it was flown with
    float matched = 0.0f;   // the ghost's time at the point last matched to the player
    std::vector<RecordingSample> run;  // the race being flown, by the race clock
};

// The current race's ghost and run.
extern Ghost gGhost;

std::string GhostPath(const char* profile, int track);  // track counts from 0
// "../Scripts/track<N>_pilot.txt": the course pilot's flight, flown with the track's required vehicle.
std::string PilotGhostPath(int track);
// The course pilot's time on the track, 0 when its flight cannot be read.
float PilotGhostTime(int track);

// Forgets the previous race and loads the profile's ghost of the track, if it has one. A ghost that is
// damaged, empty or foreign (not the run of the profile's best time, or not ending at the track's goal)
// is ignored with one log line and left on disk.
bool LoadGhost(Ghost& ghost, const char* profile, int track, float bestTime, const TrackSettings& settings);
// Forgets the previous race and loads the ghost gGhostChoice gives the track: a best run that cannot be
// flown gives way to the course pilot.
bool LoadChosenGhost(Ghost& ghost, const char* profile, int track, float bestTime, const TrackSettings& settings);
// Adds the player's pose at race time pose.time to the run, filling a longer frame with poses in between.
void RecordRun(std::vector<RecordingSample>& run, const RecordingSample& pose);
// The run ended at the race time: the race ends where the last frame showed the vehicle.
std::vector<RecordingSample> FinishedRun(const std::vector<RecordingSample>& run, float raceTime);
// Saves the run, ended at the race time, as the profile's ghost of the track (to be done before the
// profile with its new best time is saved, so that a crash never pairs a best time with another run).
bool SaveGhost(const Ghost& ghost, const char* profile, int track, int vehicle, float raceTime);

// The time of the point of path nearest to p (the path's own clock: a route gives the distance along it),
// searched within window of near, the time matched before, so that a path passing close to itself does not
// jump; distance2 is the squared distance to that point. An empty path gives near.
float NearestOnPath(const std::vector<RecordingSample>& path, float near, float window, const float p[3],
                    float& distance2);
// The race time (player.time) minus the ghost's time at the point of its path nearest to the player. The
// search keeps near the point matched before, so a path that passes close to itself does not jump.
float GhostGap(Ghost& ghost, const RecordingSample& player);

// Once a frame of the race states, with the race clock of this frame: records the run while racing and
// writes the HUD's gap text.
void FollowGhost(Ghost& ghost, int state, float raceTime, const CCamera& camera);
// Draws the ghost vehicle see-through at the race clock's time; the caller has applied the camera.
void DrawGhost(Ghost& ghost, int state, const CCamera& camera);
