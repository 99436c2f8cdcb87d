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

// Three seconds, a beep at each, then the race.
class CCountdownPhysics : public CPhysics {
public:
    void update(float dt) override;
    void enter() override;

    float remaining = 0.0f;
    int lastShown = 0;
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
    void create() override;
    void enter() override;
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
