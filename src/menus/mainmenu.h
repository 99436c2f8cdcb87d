#pragma once

#include <memory>

#include "app/states.h"
#include "lighting/shader.h"
#include "menus/menu.h"

class CBitmapFont;
class CMilkshapeModel;

// One entry of the main menu; its label is also the name of the model mesh that shows it.
struct MainMenuItem {
    char label[64];
    float angle;  // degrees about the vertical axis: 0 at rest, down to -30 while highlighted
    bool highlighted;
    float offset[3];  // displacement for the fly-out and glide-in
};

constexpr int kNumMainMenuItems = 8;
constexpr float kMenuHiddenZ = 20.0f;  // offset of an entry whose page is out of sight
extern MainMenuItem gMainMenuItems[kNumMainMenuItems];

enum {
    MAINMENU_NEW_PROFILE,
    MAINMENU_LOAD_PROFILE,
    MAINMENU_OPTIONS,
    MAINMENU_EXIT,
    MAINMENU_VIDEO,
    MAINMENU_AUDIO,
    MAINMENU_CONTROLS,
    MAINMENU_BACK
};

// The main menu: two pages of four entries over a 3D scene; choosing an entry sends the page flying out.
class CMenuPhysics : public CMenuScreenPhysics {
public:
    void update(float dt) override;
    void onKey(unsigned char key, bool down) override;
    void onSpecialKey(int key, bool down) override;
    void create() override;
    void enter() override;

    bool Animating() const { return switching || leaving || arriving; }

    int16_t current = 0;
    int16_t first = 0;
    float timer = 0.0f;
    bool switching = false;
    bool leaving = false;
    bool arriving = false;
    float directions[4][3] = {};
    int target = 0;

private:
    void Choose(int state);
    void SwitchPage(int newFirst, int newCurrent);
    void Highlight(int item);
    void FlyOut(int page, float dt);
    bool GlideIn(float dt);  // true when the page has arrived
};

// Draws the main menu scene, and the page of states 4 to 8 in a panel over it.
class CMenuRenderer : public CRenderer {
public:
    explicit CMenuRenderer(TextureManager* textures);
    ~CMenuRenderer() override;
    void draw() override;
    void init() override;
    void enter() override;
    void leave() override;

private:
    void DrawSky() const;
    void DrawModel() const;
    void DrawLogo() const;
    void DrawOverlay() const;
    void BuildProgram();

    std::unique_ptr<CMilkshapeModel> model;
    bool initialised = false;
    ShaderObject vertexShader, fragmentShader;
    std::unique_ptr<ShaderProgram> program;
    bool programLinked = false;
    uint32_t logo = 0;
    uint32_t sky = 0;
    std::unique_ptr<CBitmapFont> rowFont, entryFont, titleFont;
};
