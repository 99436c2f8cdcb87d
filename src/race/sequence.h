#pragma once

#include <memory>

#include "app/states.h"
#include "race/recording.h"

class CBitmapFont;
class CCamera;
struct AnimationCommand;
struct VehicleDynamics;

// One caption on screen during a scripted sequence; drawn by the race overlays in the game intro and outro.
struct CaptionSlot {
    const char* text = nullptr;  // the command's text, not owned
    float x = 0.0f, y = 0.0f;    // fractions of the window width and height, origin lower left
    float vx = 0.0f, vy = 0.0f;  // fractions per second
    float start = 0.0f, end = 0.0f;
    float alpha = 0.0f;
    CBitmapFont* font = nullptr;
    bool active = false;
};

constexpr int kNumCaptions = 9;
extern CaptionSlot gCaptions[kNumCaptions];

// Plays the animation block of gTrackSettings: the game intro (state 2), the fly-over before a race (11)
// and the ending (18). The camera is the race renderer's; the vehicle model is gVehicleTransform.
class CRaceIntroAnimationPhysics : public CPhysics {
public:
    explicit CRaceIntroAnimationPhysics(CCamera* camera);
    ~CRaceIntroAnimationPhysics() override;

    void update(float dt) override;
    void onKey(unsigned char key, bool down) override;
    void create() override;
    void enter() override;
    void leave() override;

    CCamera* camera;                          // not owned
    VehicleDynamics* dynamics = nullptr;      // the first vehicle's record, whatever vehicle is selected
    std::unique_ptr<CBitmapFont> captionFont;
    std::unique_ptr<CBitmapFont> titleFont;
    float elapsed = 0.0f;
    float cameraSpeed = 0.0f;

private:
    void RunCommand(AnimationCommand& command, float dt);
    void ShowCaption(const AnimationCommand& command);
    void CircleCamera(AnimationCommand& command);
    void MoveVehicle(float dt);
    void UpdateCaptions(float dt);
    void EndSequence();
    void DropUnreachableCommands();

    int state = STATE_GAME_INTRO;  // which of the three sequences is playing, fixed on enter
};

// Seats the race camera where the race fly-over left its vehicle: where every run of the race starts.
void SeatAtRaceStart(CCamera& camera);

// Share of a FROM .. TO command's whole change that belongs to the update ending at elapsed: the part of
// the frame inside the command's interval, over its duration (a zero-length command changes all at once).
float CommandShare(const AnimationCommand& command, float elapsed, float dt);
// Music gain factor of FADEMUSIC at elapsed: 1 at the start down to 0 at the end.
float MusicFadeFactor(const AnimationCommand& command, float elapsed);
// Caption opacity: a half-second fade in after start and out before end, 1 in between.
float CaptionAlpha(const CaptionSlot& slot, float elapsed);
