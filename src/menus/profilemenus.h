#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/states.h"
#include "hud/draw2d.h"
#include "menus/menu.h"

class CBitmapFont;
struct VehicleDefinition;

constexpr int kMaxTypedNameLength = 17;

// New profile: the name being typed and the blinking caret, drawn by the main menu renderer.
extern char gNewProfileName[kMaxTypedNameLength + 1];
extern bool gNewProfileCaretVisible;
extern std::string gNewProfileNotice;  // why the last Enter was refused; empty when nothing to say

class CNewProfilePhysics : public CMenuScreenPhysics {
public:
    void update(float dt) override;
    void onKey(unsigned char key, bool down) override;
    void enter() override;

    int16_t length = 0;
    float blinkTimer = 0.0f;
};

// Load profile: "Back" and one row per profile file, a confirmation before a deletion.
extern std::vector<MenuOption> gLoadProfileRows;
extern bool gLoadProfileConfirming;
extern MenuOption gConfirmRows[2];  // "No", "Yes"
extern std::string gLoadProfileNotice;

class CLoadProfileMenuPhysics : public CMenuScreenPhysics {
public:
    void onKey(unsigned char key, bool down) override;
    void onSpecialKey(int key, bool down) override;
    void create() override;
    void enter() override;

    int current = 0;
    int confirmChoice = 0;  // 0 "No", 1 "Yes"

private:
    void Confirm();
    void Load();
};

// The profile menu, hub of a career.
enum { PROFILE_GO_RACING, PROFILE_CHANGE_VEHICLE, PROFILE_BUY_VEHICLES, PROFILE_MAIN_MENU, PROFILE_HALL_OF_CHAMPIONS };
constexpr int kNumProfileItems = 5;
extern std::vector<MenuOption> gProfileMenuItems;
extern float gPreviewAngle;  // degrees; the vehicle preview turns while a profile or vehicle screen shows

class CProfileMenuPhysics : public CMenuScreenPhysics {
public:
    void create() override;
    // Availability of the items follows the profile, recomputed on every visit.
    void enter() override;
    void update(float dt) override;  // turns the preview
    void onSpecialKey(int key, bool down) override;
    void onKey(unsigned char key, bool down) override;

    int current = 0;
};

// The darkening of a career screen's boxes.
extern const Rgba kCareerShade;
// Clears the window and opens a career screen: the background picture, then the dark plate behind the profile
// name; leaves a FLAT_SHAPES pass open (scene/glstate.h) for the boxes.
void BeginCareerScreen(uint32_t background, int nameX, int nameLength);
// A vehicle's figures as label and value pairs from row firstRow (0 NAME, 1 ENGINE(S), 2 POWER, 3 TOP SPEED,
// 4 WEIGHT); row k's label sits at top - 4k - 2k * line, its value one line lower and 10 pixels in.
void DrawVehicleFigures(CBitmapFont& font, const VehicleDefinition& v, int x, int top, int firstRow);
// Draws vehicle v turning by gPreviewAngle inside the pixel box (x, y, w, h), seen from eye towards at.
void DrawVehiclePreview(int v, int x, int y, int w, int h, const float eye[3], const float at[3]);

class CProfileMenuRenderer : public CRenderer {
public:
    explicit CProfileMenuRenderer(TextureManager* textures);
    ~CProfileMenuRenderer() override;
    void draw() override;
    void init() override;
    void enter() override;
    void leave() override {}

private:
    void DrawCareer() const;
    void DrawVehicleStatistics() const;

    std::unique_ptr<CBitmapFont> nameFont, careerFont, statisticsFont, itemFont;
    uint32_t background = 0;
    int nameX = 0, nameY = 0, nameLength = 0;
};
