#include "race/raceflow.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "app/gamedefs.h"
#include "audio/soundmanager.h"
#include "data/keybinding.h"
#include "data/profile.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "hud/hud.h"
#include "hud/hudtimer.h"
#include "menus/menu.h"
#include "race/gamephysics.h"
#include "race/ghost.h"
#include "race/replay.h"
#include "race/splits.h"
#include "race/vehicle.h"

char gCountdownText[16] = "";
std::vector<MenuOption> gPauseMenuEntries;
int gRaceMedal = MEDAL_NONE;
int gCashWon = 0;
int gRepairCost = 0;
int gRaceTotal = 0;
int gSelectedTrack = 0;
float gTrophyAngle = 0.0f;
bool gRunBooked = false;

namespace {

constexpr float kPercentPerMedalStep = 33.33333f / kNumTracks;

void PlayEffect(int sound) {
    if (gSoundManager) gSoundManager->PlayEffect(sound);
}

int Saturate(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }

int Increment(int counter) { return counter < INT_MAX ? counter + 1 : counter; }

// Set by a restart, so the countdown it requests puts the race back: the race's own update still runs once
// before the switch, and a held key must not move the vehicle from its start.
bool gRestartRequested = false;

}  // namespace

bool IsRestartKey(int key, bool special) {
    if (special)
        return key == kKeyPadBack;
    return LowerCaseKey(key) == kRestartKey && MatchKeyBinding(gSettings.keys, NUM_BINDINGS, key, false) < 0;
}

void RestartRace() {
    gRestartRequested = true;
    gRequestedState = STATE_COUNTDOWN;
}

void CCountdownPhysics::enter() {
    CPhysics::enter();
    gRunBooked = false;
    if (gRestartRequested && race) {
        ResetForRace(*race->dynamics);
        race->ReturnToStart();
        // From the results of a new best, the best run to race is the one just saved.
        if (gSelectedTrack >= 0 && gSelectedTrack < kNumTracks)
            StartRivals(gProfile.name, gSelectedTrack, gProfile.bestTimes[gSelectedTrack], gTrackSettings);
        gHudGapText[0] = '\0';
    }
    gRestartRequested = false;
    remaining = 3.0f;
    lastShown = 3;
    snprintf(gCountdownText, sizeof gCountdownText, "%d..", lastShown);
    PlayEffect(SOUND_COUNTDOWN);
    if (gSoundManager) {
        gSoundManager->SetEngineSound(0.4f);
        gSoundManager->StartEngine();
    }
}

void CCountdownPhysics::update(float dt) {
    const int n = static_cast<int>(std::ceil(remaining));
    snprintf(gCountdownText, sizeof gCountdownText, "%d..", n);
    // The second's beep before the go: in one long frame the go must be the sound left playing.
    if (n != lastShown) PlayEffect(SOUND_COUNTDOWN);
    lastShown = n;
    remaining -= dt;
    if (remaining <= 0.0f) {
        PlayEffect(SOUND_GO);
        gRequestedState = STATE_RACE;
    }
}

void CIngameMenuPhysics::create() {
    gPauseMenuEntries.clear();
    gPauseMenuEntries.emplace_back("Return to game");
    gPauseMenuEntries.emplace_back("Exit race");
    Select(0);
}

void CIngameMenuPhysics::Select(int entry) {
    selected = entry;
    for (size_t i = 0; i < gPauseMenuEntries.size(); ++i) gPauseMenuEntries[i].highlighted = (static_cast<int>(i) == entry);
}

void CIngameMenuPhysics::onKey(unsigned char key, bool down) {
    if (!down) return;
    if (IsRestartKey(key, false)) {
        RestartRace();
    } else if (key == kKeyEscape || (key == kKeyEnter && selected == 0)) {
        gRequestedState = STATE_RACE;
    } else if (key == kKeyEnter && selected == 1) {
        gRequestedState = STATE_PROFILE_MENU;
    }
}

void CIngameMenuPhysics::onSpecialKey(int key, bool down) {
    if (!down) return;
    if (IsRestartKey(key, true)) {
        RestartRace();
    } else if (key == kKeyUp) {
        PlayEffect(SOUND_INTRAMENU);
        Select(selected - 1 < 0 ? 1 : selected - 1);
    } else if (key == kKeyDown) {
        PlayEffect(SOUND_INTRAMENU);
        Select((selected + 1) % 2);
    }
}

bool IsNewBest(float best, float seconds) {
    return best <= 0.0f || seconds < best;
}

RaceResult ApplyRaceResult(Profile& profile, int track, float seconds, const TrackSettings& settings, int damage,
                           int damagePrice) {
    RaceResult result;
    if (track < 0 || track >= kNumTracks) return result;
    float& best = profile.bestTimes[track];
    const int oldMedal = MedalOfTime(best, settings.goldTime, settings.silverTime, settings.bronzeTime);
    const int newMedal = MedalOfTime(seconds, settings.goldTime, settings.silverTime, settings.bronzeTime);
    if (newMedal == MEDAL_GOLD && oldMedal < MEDAL_GOLD) profile.goldCups = Increment(profile.goldCups);
    if (newMedal == MEDAL_SILVER && oldMedal < MEDAL_SILVER) profile.silverCups = Increment(profile.silverCups);
    if (newMedal == MEDAL_BRONZE && oldMedal < MEDAL_BRONZE) profile.bronzeCups = Increment(profile.bronzeCups);

    if (newMedal >= MEDAL_BRONZE) {
        const int prizes[] = {0, settings.bronzeCash, settings.silverCash, settings.goldCash};
        // A negative prize or price in a script would turn the rules upside down.
        result.cashWon = std::max(prizes[newMedal], 0);
        result.repairCost = Saturate(int64_t(std::clamp(damage, 0, 100)) * std::max(damagePrice, 0));
        result.total = Saturate(int64_t(result.cashWon) - result.repairCost);
        profile.cash = Saturate(int64_t(profile.cash) + result.total);
    }
    if (best <= 0.0f)
        profile.racesCompleted = Increment(profile.racesCompleted);
    if (IsNewBest(best, seconds))
        best = seconds;
    if (newMedal > oldMedal)
        profile.percentComplete = std::min(profile.percentComplete + (newMedal - oldMedal) * kPercentPerMedalStep, 100.0f);
    result.medal = newMedal;
    return result;
}

void CRaceCompletedPhysics::create() { gTrophyAngle = 0.0f; }

void CRaceCompletedPhysics::enter() {
    if (gSoundManager) {
        gSoundManager->StopEngine();
        gSoundManager->PlayMusic(MUSIC_RACE_COMPLETE);
    }
    CPhysics::enter();
    // Coming back to the results of a run must not pay or save it again.
    if (gRunBooked)
        return;
    gRunBooked = true;
    const float seconds = RaceSeconds();
    const int damage = race && race->dynamics ? static_cast<int>(race->dynamics->damage) : 0;
    const int price = gVehicles[gSelectedVehicle].damagePrice;
    const bool known = gSelectedTrack >= 0 && gSelectedTrack < kNumTracks;
    const float best = known ? gProfile.bestTimes[gSelectedTrack] : 0.0f;
    // The ghost goes first: a crash before the profile is saved leaves a ghost that no best time matches.
    if (known && IsNewBest(best, seconds))
        SaveGhost(gGhost, gProfile.name, gSelectedTrack, SelectedVehicleIndex(), seconds);
    if (known)
        gSectorResults = BookSectors(gSplits, gProfile.name, gSelectedTrack, seconds, IsNewBest(best, seconds));
    const RaceResult result = ApplyRaceResult(gProfile, gSelectedTrack, seconds, gTrackSettings, damage, price);
    gRaceMedal = result.medal;
    gCashWon = result.cashWon;
    gRepairCost = result.repairCost;
    gRaceTotal = result.total;
    SaveProfile();
}

void CRaceCompletedPhysics::update(float dt) { gTrophyAngle += 50.0f * dt; }

void CRaceCompletedPhysics::onKey(unsigned char key, bool down) {
    if (down && IsRestartKey(key, false))
        RestartRace();
    else if (down && race && LowerCaseKey(key) == kWatchKey)
        WatchLastRun(RaceSeconds(), *race->camera);
    if (!down || key != kKeyEnter) return;
    if (gProfile.percentComplete >= kGameCompletePercent) {
        RequestStateViaLoading(STATE_GAME_OUTRO);
    } else {
        gRequestedState = STATE_PROFILE_MENU;
    }
}

void CRaceCompletedPhysics::onSpecialKey(int key, bool down) {
    if (down && IsRestartKey(key, true))
        RestartRace();
}

void CRaceCompletedPhysics::leave() {
    CPhysics::leave();
    if (gSoundManager) gSoundManager->StopMusic();
}
