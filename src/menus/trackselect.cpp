#include "menus/trackselect.h"

#include <cstdio>

#include "audio/soundmanager.h"
#include "data/profile.h"
#include "data/rewards.h"
#include "data/trackscript.h"
#include "race/raceflow.h"
#include "race/vehicle.h"

TrackCard gTrackCards[kNumTracks];
bool gTrackVehicleAllowed = false;
bool gTrackBlink = false;
CardSlide gTrackSlide;

namespace {

constexpr float kBlinkSeconds = 2.0f;
constexpr float kTrophyTurnSpeed = 50.0f;  // degrees per second
const char* const kCupNames[3] = {"Gold Cup     :", "Silver Cup   :", "Bronze Cup   :"};

void CheckVehicle() {
    gTrackVehicleAllowed = gSelectedVehicle == gTrackCards[gSelectedTrack].requiredVehicle;
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
    }
    CheckVehicle();
}

void CTrackSelectMenuPhysics::enter() {
    CPhysics::enter();
    gTrophyAngle = 0.0f;
    gTrackSlide.Reset();
    // A slide cut short by Escape must not leave the next one starting from a card never shown.
    gTrackSlide.target = gSelectedTrack;
    blinkTimer = 0.0f;
    gTrackBlink = false;
    CheckVehicle();
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
        CheckVehicle();
    }
}

void CTrackSelectMenuPhysics::onSpecialKey(int key, bool down) {
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
    } else if (key == kKeyEnter) {
        if (gTrackVehicleAllowed) {
            StopMenuMusic();
            RequestStateViaLoading(STATE_RACE_INTRO);
        } else {
            PlayMenuSound(SOUND_ALERT);
        }
    }
}
