#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/gamedefs.h"
#include "app/states.h"
#include "menus/menu.h"

class CBitmapFont;
class CTrophyDisplay;
struct TrackSettings;


// One track as the selection screen shows it.
struct TrackCard {
    uint32_t picture = 0;  // texture of "../Textures/track<pictureNumber>.jpg" while the screen shows
    std::string title;
    int32_t requiredVehicle = 0;
    int32_t pictureNumber = 0;  // from the track model's file name "../Models/track<n>..."
    float goldTime = 0.0f, silverTime = 0.0f, bronzeTime = 0.0f;
    std::string timeLines[3];  // gold, silver, bronze: "Gold Cup     :00:01:23.500"
    std::string cashLines[3];  // "Gold Cup     : 12,500$"
    float pilotTime = 0.0f;    // the course pilot's, 0 without its ghost
};

extern TrackCard gTrackCards[kNumTracks];
extern bool gTrackVehicleAllowed;  // the current vehicle may race the selected track
extern bool gTrackBlink;           // cash lines instead of time lines
extern bool gTrackBestRun;         // the profile has a best run of the selected track to race
extern CardSlide gTrackSlide;

// Fills a card from a loaded track script.
TrackCard MakeTrackCard(const TrackSettings& track);
// The card's line of the ghost G chooses, with its time: "Course pilot :00:00:41.230".
std::string GhostLine(const TrackCard& card, float bestTime, bool hasBest);

class CTrackSelectMenuPhysics : public CMenuScreenPhysics {
public:
    void create() override;  // the 24 cards, once at start-up
    void enter() override;
    void update(float dt) override;
    void onKey(unsigned char key, bool down) override;  // Enter and Escape act even during a slide, G not
    void onSpecialKey(int key, bool down) override;

    float blinkTimer = 0.0f;
};

class CTrackSelectMenuRenderer : public CRenderer {
public:
    CTrackSelectMenuRenderer(TextureManager* textures, CTrophyDisplay* trophy);
    ~CTrackSelectMenuRenderer() override;
    void draw() override;
    void init() override;
    void enter() override;
    void leave() override;

private:
    void DrawCard() const;

    CTrophyDisplay* trophy;  // shared with the race renderer, not owned
    uint32_t background = 0;
    uint32_t lock = 0;
    std::unique_ptr<CBitmapFont> nameFont, titleFont, infoFont, noteFont, hintFont;
    int nameX = 0, nameY = 0, nameLength = 0;
    int vehicleNameX = 0, vehicleNameY = 0, vehicleNameLength = 0;
};
