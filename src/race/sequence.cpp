#include "race/sequence.h"

#include <algorithm>
#include <cmath>

#include "app/gamedefs.h"
#include "app/log.h"
#include "audio/soundmanager.h"
#include "data/settings.h"
#include "data/trackscript.h"
#include "hud/bitmapfont.h"
#include "race/vehicle.h"
#include "race/gamerenderer.h"
#include "scene/transformation.h"

CaptionSlot gCaptions[kNumCaptions];

float CommandShare(const AnimationCommand& command, float elapsed, float dt) {
    // A FROM t TO t command has no length to spread over: its whole change lands in one update.
    if (command.duration <= 0.0f) return 1.0f;
    // Only the part of this frame inside the command's interval counts, so the shares add up to exactly
    // the whole change wherever the frames fall.
    const float step = std::min(elapsed, command.end) - std::max(elapsed - dt, command.start);
    return std::clamp(step / command.duration, 0.0f, 1.0f);
}

float MusicFadeFactor(const AnimationCommand& command, float elapsed) {
    if (command.duration <= 0.0f) return 0.0f;
    // The last update may overshoot the end; a negative gain is not a volume.
    return std::clamp((command.end - elapsed) / command.duration, 0.0f, 1.0f);
}

float CaptionAlpha(const CaptionSlot& slot, float elapsed) {
    const float fadeIn = 2.0f * (elapsed - slot.start);
    const float fadeOut = 2.0f * (slot.end - elapsed);
    return std::clamp(std::min(fadeIn, fadeOut), 0.0f, 1.0f);
}

CRaceIntroAnimationPhysics::CRaceIntroAnimationPhysics(CCamera* camera) : camera(camera) {}

CRaceIntroAnimationPhysics::~CRaceIntroAnimationPhysics() = default;

void CRaceIntroAnimationPhysics::create() {
    const int h = gSettings.screenHeight;
    captionFont = MakeFont(L"Arial", int(h / 480.0f * 18.0f), 700, 0.8f, 0.8f, 1.0f);
    titleFont = MakeFont(L"Beware", int(h / 480.0f * 60.0f), 700, 0.7f, 0.7f, 1.0f);
    for (CaptionSlot& slot : gCaptions) slot.font = captionFont.get();
}

void CRaceIntroAnimationPhysics::enter() {
    CPhysics::enter();
    state = gRequestedState;
    elapsed = 0.0f;
    for (AnimationCommand& command : gTrackSettings.animationCommands) {
        command.done = false;
        command.started = false;
        if (command.action == ACTION_CIRCLEY) command.value = 0.0f;  // the orbit radius, measured on first run
    }
    DropUnreachableCommands();
    for (CaptionSlot& slot : gCaptions) slot.active = false;
    gTrackSettings.vehicleRecording.Rewind();

    gVehicleTransform.Reset();
    camera->SetPosition(gTrackSettings.camStartPosition[0], gTrackSettings.camStartPosition[1], gTrackSettings.camStartPosition[2]);
    camera->Yaw(-gTrackSettings.camStartHeading);
    camera->Pitch(-gTrackSettings.camStartPitch);
    gVehicleTransform.SetPosition(gTrackSettings.vehicleStartPosition[0], gTrackSettings.vehicleStartPosition[1],
                                   gTrackSettings.vehicleStartPosition[2]);
    gVehicleTransform.Yaw(gTrackSettings.vehicleStartHeading);

    if (gSoundManager) {
        if (state == STATE_RACE_INTRO) {
            gSoundManager->SetEngineSound(0.25f);
            gSoundManager->StartEngine();
        } else {
            gSoundManager->PlayMusic(MUSIC_INTRO_RACE);
        }
    }
    cameraSpeed = 0.0f;
}

// Commands that can never run are reported once and left out, so a script error is visible in the log
// instead of silently doing nothing.
void CRaceIntroAnimationPhysics::DropUnreachableCommands() {
    float stopTime = INFINITY;
    for (const AnimationCommand& command : gTrackSettings.animationCommands)
        if (command.action == ACTION_STOP) stopTime = std::min(stopTime, command.start);
    for (size_t i = 0; i < gTrackSettings.animationCommands.size(); ++i) {
        AnimationCommand& command = gTrackSettings.animationCommands[i];
        if (command.end < command.start) {
            Log("Animation command %zu (action %d) ends at %f before it starts at %f; ignored", i + 1, command.action,
                command.end, command.start);
            command.done = true;
        } else if (command.start > stopTime) {
            Log("Animation command %zu (action %d) starts at %f after the sequence stops at %f; ignored", i + 1,
                command.action, command.start, stopTime);
            command.done = true;
        }
    }
}

void CRaceIntroAnimationPhysics::update(float dt) {
    if (!(dt >= 0.0f) || !std::isfinite(dt)) dt = 0.0f;  // a broken clock must not poison the sequence
    elapsed += dt;
    for (AnimationCommand& command : gTrackSettings.animationCommands) {
        if (command.done || command.start > elapsed) continue;
        RunCommand(command, dt);
        command.started = true;
        if (command.end <= elapsed) command.done = true;
    }
    MoveVehicle(dt);
    if (cameraSpeed != 0.0f) {
        float v[3];
        camera->GetDirection(v);
        const float d = -cameraSpeed * dt;
        camera->Translate(d * v[0], d * v[1], d * v[2]);
    }
    UpdateCaptions(dt);
}

void CRaceIntroAnimationPhysics::RunCommand(AnimationCommand& command, float dt) {
    const float f = CommandShare(command, elapsed, dt);
    switch (command.action) {
        case ACTION_THRUSTON: dynamics->thrustOn = true; break;
        case ACTION_THRUSTOFF: dynamics->thrustOn = false; break;
        case ACTION_BRAKESON: dynamics->brakeOn = true; break;
        case ACTION_BRAKESOFF: dynamics->brakeOn = false; break;
        case ACTION_SETSPEED: dynamics->speed = std::max(command.value, 0.0f); break;
        case ACTION_SETPOSITION: gVehicleTransform.SetPosition(command.x, command.y, command.z); break;
        case ACTION_SETHEADING: gVehicleTransform.SetYaw(command.value); break;
        case ACTION_CHANGEHEADING: gVehicleTransform.Yaw(f * command.value); break;
        case ACTION_CHANGECAMHEADING: camera->Yaw(-f * command.value); break;
        case ACTION_CHANGEPITCH: gVehicleTransform.Pitch(f * command.value); break;
        case ACTION_CHANGECAMPITCH: camera->Pitch(-f * command.value); break;
        case ACTION_CHANGECAMSPEED: cameraSpeed += f * command.value; break;
        case ACTION_SETCAMPOSITION: camera->SetPosition(command.x, command.y, command.z); break;
        case ACTION_SETCAMSPEED: cameraSpeed = command.value; break;
        case ACTION_SHOWTEXT:
        case ACTION_SHOWTITLE:
        case ACTION_ROLLTEXT:
            if (!command.started) ShowCaption(command);
            break;
        case ACTION_FADEMUSIC:
            if (gSoundManager) gSoundManager->SetMusicFade(MusicFadeFactor(command, elapsed));
            break;
        case ACTION_CIRCLEY: CircleCamera(command); break;
        case ACTION_STOP:
            command.done = true;
            EndSequence();
            break;
        default: break;
    }
}

void CRaceIntroAnimationPhysics::EndSequence() {
    dynamics->thrustOn = false;
    dynamics->brakeOn = false;
    if (state == STATE_GAME_INTRO) {
        RequestStateViaLoading(STATE_MAIN_MENU);
    } else if (state == STATE_GAME_OUTRO) {
        gRequestedState = STATE_PROFILE_MENU;
    } else {
        gRequestedState = STATE_COUNTDOWN;
    }
}

void CRaceIntroAnimationPhysics::ShowCaption(const AnimationCommand& command) {
    CaptionSlot* slot = std::find_if(gCaptions, gCaptions + kNumCaptions, [](const CaptionSlot& s) { return !s.active; });
    if (slot == gCaptions + kNumCaptions) {
        Log("No free caption slot for \"%s\" at %f; caption dropped", command.text.c_str(), command.start);
        return;
    }
    slot->text = command.text.c_str();
    if (command.action == ACTION_ROLLTEXT) {
        slot->x = 0.4f;
        slot->y = 0.05f;
        slot->vx = 0.0f;
        slot->vy = 0.1f;
    } else {
        slot->x = command.x;
        slot->y = command.y;
        slot->vx = command.z;
        slot->vy = 0.0f;
    }
    slot->start = command.start;
    slot->end = command.end;
    slot->alpha = 0.0f;
    if (command.action == ACTION_SHOWTITLE) slot->font = titleFont.get();
    slot->active = true;
}

void CRaceIntroAnimationPhysics::CircleCamera(AnimationCommand& command) {
    const float g = command.duration > 0.0f ? std::min((elapsed - command.start) / command.duration, 1.0f) : 1.0f;
    const float angle = g * command.z - 90.0f;
    if (command.value == 0.0f) {
        const float dx = command.x - camera->x;
        const float dz = command.y - camera->z;
        command.value = std::sqrt(dx * dx + dz * dz);
    }
    const float radius = command.value;
    const float radians = angle * kPi / 180.0f;
    camera->SetYaw(angle - 90.0f);
    camera->SetPosition(command.x + radius * std::cos(radians), camera->y, command.y + radius * std::sin(radians));
}

void CRaceIntroAnimationPhysics::MoveVehicle(float dt) {
    if (gTrackSettings.hasVehicleScript) {
        VehicleRecording& recording = gTrackSettings.vehicleRecording;
        if (recording.Empty()) return;  // a broken recording holds the vehicle at its start pose
        const RecordingSample s = recording.Sample(elapsed);
        gVehicleTransform.SetPosition(s.x, s.y, s.z);
        gVehicleTransform.SetYaw(s.yaw);
        gVehicleTransform.SetPitch(s.pitch);
        gVehicleTransform.SetRoll(s.roll);
        return;
    }
    UpdateSpeed(*dynamics, dt);
    if (gSoundManager) gSoundManager->SetEngineSound(dynamics->speed * dynamics->speed * 0.001f + 0.25f);
    float d[3];
    gVehicleTransform.GetDirection(d);
    const float s = -dynamics->speed * dt;
    gVehicleTransform.Translate(s * d[0], s * d[1], s * d[2]);
}

void SeatAtRaceStart(CCamera& camera) {
    camera.SeatOn({gVehicleTransform.x, gVehicleTransform.y, gVehicleTransform.z, gVehicleTransform.yaw});
}

void CRaceIntroAnimationPhysics::UpdateCaptions(float dt) {
    for (CaptionSlot& slot : gCaptions) {
        if (!slot.active) continue;
        slot.alpha = CaptionAlpha(slot, elapsed);
        slot.x += slot.vx * dt;
        slot.y += slot.vy * dt;
        if (slot.end < elapsed) slot.active = false;
    }
}

void CRaceIntroAnimationPhysics::onKey(unsigned char key, bool down) {
    if (!down || key != kKeyEscape) return;
    // The fly-over before a race cannot be skipped.
    if (state == STATE_GAME_INTRO) {
        RequestStateViaLoading(STATE_MAIN_MENU);
    } else if (state == STATE_GAME_OUTRO) {
        RequestStateViaLoading(STATE_PROFILE_MENU);
    }
}

void CRaceIntroAnimationPhysics::leave() {
    CPhysics::leave();
    if (gSoundManager) {
        gSoundManager->StopEngine();
        gSoundManager->StopMusic();
    }
    SeatAtRaceStart(*camera);
    cameraSpeed = 0.0f;
    for (CaptionSlot& slot : gCaptions) {
        slot.font = captionFont.get();
        // The texts belong to the script, which the next load frees.
        slot.active = false;
    }
}
