#include "menus/trackselect.h"

#include <cstdio>

#include "audio/soundmanager.h"
#include "data/profile.h"
#include "data/rewards.h"
#include "data/trackscript.h"
#include "data/keybinding.h"
#include "race/ghost.h"
#include "race/raceflow.h"
#include "race/replay.h"
#include "race/vehicle.h"

TrackCard gTrackCards[kNumTracks];
bool gTrackVehicleAllowed = false;
bool gTrackBlink = false;
bool gTrackBestRun = false;
CardSlide gTrackSlide;

namespace {

constexpr float kBlinkSeconds = 2.0f;
constexpr float kTrophyTurnSpeed = 50.0f;  // degrees per second
const char* const kCupNames[3] = {"Gold Cup     :", "Silver Cup   :", "Bronze Cup   :"};

void CheckSelectedCard() {
    gTrackVehicleAllowed = gSelectedVehicle == gTrackCards[gSelectedTrack].requiredVehicle;
    gTrackBestRun = HasBestRun(gProfile.name, gSelectedTrack, gProfile.bestTimes[gSelectedTrack]);
}

// G or the pad's Y: the next ghost, for every track, on a card that can be raced.
void ChooseNextGhost() {
    if (gTrackSlide.sliding)
        return;
    if (!gTrackVehicleAllowed) {
        PlayMenuSound(SOUND_ALERT);
        return;
    }
    PlayMenuSound(SOUND_INTRAMENU);
    gGhostChoice = NextGhostChoice(gGhostChoice, gTrackBestRun);
}

}  // namespace

TrackCard MakeTrackCard(const TrackSettings& track) {
    TrackCard card;
    card.title = track.title;
    card.requiredVehicle = track.requiredVehicle;
    if (sscanf(track.trackModel, "../Models/track%d", &card.pictureNumber) != 1)
        card.pictureNumber = 0;
    card.goldTime = track.goldTime;
    card.silverTime = track.silverTime;
    card.bronzeTime = track.bronzeTime;
    const float times[3] = {track.goldTime, track.silverTime, track.bronzeTime};
    const int32_t cash[3] = {track.goldCash, track.silverCash, track.bronzeCash};
    for (int i = 0; i < 3; i++) {
        char time[16];
        FormatRaceTime(times[i], time);
        card.timeLines[i] = std::string(kCupNames[i]) + time;
        card.cashLines[i] = std::string(kCupNames[i]) + " " + FormatPrize(cash[i]);
    }
    return card;
}

std::string GhostLine(const TrackCard& card, float bestTime, bool hasBest) {
    char time[16];
    switch (GhostChoiceFor(gGhostChoice, hasBest)) {
    case GHOST_BEST: FormatRaceTime(bestTime, time); return std::string("Your best    :") + time;
    case GHOST_PILOT: FormatRaceTime(card.pilotTime, time); return std::string("Course pilot :") + time;
    default: return "Ghost        :none";
    }
}

void CTrackSelectMenuPhysics::create() {
    gSelectedTrack = 0;
    gTrackSlide = CardSlide();
    gTrackBlink = false;
    TrackSettings track;
    for (int i = 0; i < kNumTracks; i++) {
        LoadTrackSettings(TrackScriptPath(i).c_str(), track);
        gTrackCards[i] = MakeTrackCard(track);
        // A model not named "track<n>" would leave the card without a picture: it shows its own number's.
        if (gTrackCards[i].pictureNumber == 0)
            gTrackCards[i].pictureNumber = i + 1;
        gTrackCards[i].pilotTime = PilotGhostTime(i);
    }
    CheckSelectedCard();
}

void CTrackSelectMenuPhysics::enter() {
    CPhysics::enter();
    gTrophyAngle = 0.0f;
    gTrackSlide.Reset();
    // A slide cut short by Escape must not leave the next one starting from a card never shown.
    gTrackSlide.target = gSelectedTrack;
    blinkTimer = 0.0f;
    gTrackBlink = false;
    CheckSelectedCard();
}

void CTrackSelectMenuPhysics::update(float dt) {
    gTrophyAngle += kTrophyTurnSpeed * dt;
    blinkTimer += dt;
    if (blinkTimer > kBlinkSeconds) {
        blinkTimer = 0.0f;
        gTrackBlink = !gTrackBlink;
    }
    if (gTrackSlide.Advance(dt)) {
        gSelectedTrack = gTrackSlide.target;
        CheckSelectedCard();
    }
}

void CTrackSelectMenuPhysics::onSpecialKey(int key, bool down) {
    if (down && key == kKeyPadY)
        ChooseNextGhost();
    if (!down || gTrackSlide.sliding)
        return;
    if (key == kKeyLeft) {
        PlayMenuSound(SOUND_INTRAMENU);
        gTrackSlide.Start((gTrackSlide.target + kNumTracks - 1) % kNumTracks, -1);
    } else if (key == kKeyRight) {
        PlayMenuSound(SOUND_INTRAMENU);
        gTrackSlide.Start((gTrackSlide.target + 1) % kNumTracks, +1);
    }
}

void CTrackSelectMenuPhysics::onKey(unsigned char key, bool down) {
    if (!down)
        return;
    if (key == kKeyEscape) {
        gRequestedState = STATE_PROFILE_MENU;
    } else if (LowerCaseKey(key) == kGhostKey) {
        ChooseNextGhost();
    } else if (LowerCaseKey(key) == kWatchKey) {
        if (!WatchBestRun())
            PlayMenuSound(SOUND_ALERT);
    } else if (key == kKeyEnter) {
        if (gTrackVehicleAllowed) {
            StopMenuMusic();
            RequestStateViaLoading(STATE_RACE_INTRO);
        } else {
            PlayMenuSound(SOUND_ALERT);
        }
    }
}
