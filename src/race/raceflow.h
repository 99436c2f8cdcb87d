#pragma once

#include <cstdint>
#include <vector>

#include "app/states.h"
#include "data/rewards.h"

class CGamePhysics;
struct MenuOption;
struct Profile;
struct TrackSettings;

// Read by the race overlays.
extern char gCountdownText[16];
extern std::vector<MenuOption> gPauseMenuEntries;  // "Return to game", "Exit race"; the selected one highlighted
extern int gRaceMedal;
extern int gCashWon;
extern int gRepairCost;
extern int gRaceTotal;
extern int gSelectedTrack;  // 0..23, the track the loading state loads for a race
extern float gTrophyAngle;  // also turned by the track selection
// Whether the run started by the last countdown has been booked into the profile: a result is applied once.
extern bool gRunBooked;

// The key that restarts a run at once in the race, the pause menu and the results, when no driving key is
// bound to it; a pad's Back button does it always.
constexpr unsigned char kRestartKey = 'r';
bool IsRestartKey(int key, bool special);

// The same track again at once, with no loading and no fly-over: the countdown, which puts the vehicle back
// on the start line undamaged, with the chosen ghost from its start. The run left counts for nothing.
void RestartRace();

// Three seconds, a beep at each, then the race.
class CCountdownPhysics : public CPhysics {
public:
    void update(float dt) override;
    void enter() override;  // starts a run, and after a restart sets the race back to its start

    float remaining = 0.0f;
    int lastShown = 0;
    CGamePhysics* race = nullptr;  // not owned
};

class CIngameMenuPhysics : public CPhysics {
public:
    void update(float) override {}
    void onKey(unsigned char key, bool down) override;
    void onSpecialKey(int key, bool down) override;
    void create() override;

    int selected = 0;

private:
    void Select(int entry);
};

class CRaceCompletedPhysics : public CPhysics {
public:
    void update(float dt) override;
    void onKey(unsigned char key, bool down) override;
    void onSpecialKey(int key, bool down) override;
    void create() override;
    void enter() override;  // books the run into the profile, once
    void leave() override;

    const CGamePhysics* race = nullptr;  // holds the record that raced; not owned
};

struct RaceResult {
    int medal = MEDAL_NONE;
    int cashWon = 0;
    int repairCost = 0;
    int total = 0;
};

// Whether a finished race of `seconds` beats the profile's best time on the track (0: none yet).
bool IsNewBest(float best, float seconds);

// Books a finished race of `seconds` on track index `track` (0 based) into the profile: cups, cash, best
// time, races completed and completion. Money saturates instead of wrapping around.
RaceResult ApplyRaceResult(Profile& profile, int track, float seconds, const TrackSettings& settings, int damage,
                           int damagePrice);
