#include "menus/menupages.h"

#include <GL/glew.h>

#include <cstring>
#include <vector>

#include "app/states.h"
#include "data/settings.h"
#include "hud/bitmapfont.h"
#include "hud/draw2d.h"
#include "menus/menu.h"
#include "menus/profilemenus.h"
#include "menus/settingsmenus.h"
#include "scene/glstate.h"

namespace {

const Rgba kShade = {0.0f, 0.0f, 0.0f, 0.8f};
const Rgba kBright = {0.7f, 0.7f, 1.0f, 1.0f};

struct Hint {
    const char* text;
    float below;  // pixels below the panel's top edge
};

void RowColor(CBitmapFont& font, bool highlighted) {
    if (highlighted)
        font.SetColor(0.7f, 0.7f, 1.0f);
    else
        font.SetColor(0.3f, 0.3f, 0.7f);
}

void DrawHints(CBitmapFont& font, const PanelOrigin& p, const std::vector<Hint>& hints) {
    font.SetColor(0.5f, 0.5f, 0.5f);
    for (const Hint& h : hints)
        font.Print(h.text, int(p.x0 + 8.0f), int(p.yTop - h.below));
}

// A warning under the rows of a page, in red.
void DrawNotice(CBitmapFont& font, const PanelOrigin& p, const std::string& notice, float below) {
    if (notice.empty())
        return;
    font.SetColor(1.0f, 0.35f, 0.35f);
    font.Print(notice.c_str(), int(p.x0 + 8.0f), int(p.yTop - below));
}

void DrawOptionPage(const MenuPageFonts& fonts, const PanelOrigin& p, const char* title, float titleX,
                    const std::vector<MenuOption>& rows) {
    fonts.title->Print(title, int(p.x0 + titleX), int(p.yTop - 54.0f));
    for (size_t i = 0; i < rows.size(); i++) {
        const MenuOption& row = rows[i];
        if (row.capturing)
            fonts.row->SetColor(0.7f, 1.0f, 0.7f);
        else
            RowColor(*fonts.row, row.highlighted);
        const int y = int(p.yTop - 88.0f - 32.0f * float(i));
        fonts.row->Print(row.label, int(p.x0 + 8.0f), y);
        if (const char* choice = row.ChoiceText())
            fonts.row->Print(choice, int(p.x0 + 450.0f), y);
    }
    RowColor(*fonts.row, false);
}

void DrawNewProfilePage(const MenuPageFonts& fonts, const PanelOrigin& p) {
    FillRect(p.x0 + 80.0f, p.yTop - 210.0f, p.x0 + 560.0f, p.yTop - 150.0f, kShade);
    fonts.title->Print("NEW PROFILE", int(p.x0 + 45.0f), int(p.yTop - 60.0f));
    fonts.row->SetColor(0.5f, 0.5f, 0.5f);
    fonts.row->Print("Enter profile name:", int(p.x0 + 88.0f), int(p.yTop - 145.0f));
    fonts.entry->SetColor(0.7f, 0.7f, 1.0f);
    fonts.entry->Print(gNewProfileName, int(p.x0 + 90.0f), int(p.yTop - 195.0f));
    if (gNewProfileCaretVisible) {
        const float x = p.x0 + 91.0f + 26.0f * float(strlen(gNewProfileName));
        DrawLine({x, p.yTop - 158.0f}, {x, p.yTop - 202.0f}, kBright, 2.0f);
    }
    DrawNotice(*fonts.row, p, gNewProfileNotice, 260.0f);
    DrawHints(*fonts.row, p, {{"Press [Enter] to create profile.", 344.0f},
                              {"Press [ESC] to cancel profile creation.", 376.0f}});
}

void DrawLoadProfilePage(const MenuPageFonts& fonts, const PanelOrigin& p, int width) {
    static const int indent = width * 10 / 640;
    fonts.title->Print("LOAD PROFILE", int(p.x0 + 20.0f), int(p.yTop - 54.0f));
    for (size_t i = 0; i < gLoadProfileRows.size(); i++) {
        if (gLoadProfileConfirming)
            fonts.row->SetColor(0.4f, 0.4f, 0.4f);
        else
            RowColor(*fonts.row, gLoadProfileRows[i].highlighted);
        const int x = int(p.x0 + 8.0f) + (i > 0 ? indent : 0);
        fonts.row->Print(gLoadProfileRows[i].label, x, int(p.yTop - 88.0f - 32.0f * float(i)));
    }
    if (!gLoadProfileConfirming) {
        fonts.row->SetColor(0.5f, 0.5f, 0.5f);
        fonts.row->Print("Press [ENTER] to load. Press [DEL] to delete a profile.", int(p.x0 + 60.0f),
                         int(p.yTop - 473.0f));
        DrawNotice(*fonts.row, p, gLoadProfileNotice, 441.0f);
    } else {
        FillRect(p.x0 + 160.0f, p.yTop - 240.0f, p.x0 + 480.0f, p.yTop - 150.0f, kShade);
        fonts.row->SetColor(1.0f, 0.2f, 0.2f);
        fonts.row->Print("Really delete profile?", int(p.x0 + 220.0f), int(p.yTop - 238.0f));
        for (int i = 0; i < 2; i++) {
            RowColor(*fonts.row, gConfirmRows[i].highlighted);
            fonts.row->Print(gConfirmRows[i].label, int(p.x0 + 290.0f), int(p.yTop - 270.0f - 32.0f * float(i)));
        }
    }
    RowColor(*fonts.row, false);
}

}  // namespace

void SetMenuLighting() {
    SetLightZero({{0.5f, 0.5f, 0.6f, 1.0f},
                  {0.3f, 0.3f, 0.3f, 1.0f},
                  {1.0f, 1.0f, 1.0f, 1.0f},
                  {0.7f, 0.7f, 1.0f, 1.0f},
                  {-3.0f, 0.0f, 8.0f, 0.0f},
                  0.001f});
    glDisable(GL_COLOR_MATERIAL);
    for (GLenum light = GL_LIGHT1; light <= GL_LIGHT4; light++)
        glDisable(light);
}

void DrawWindowPicture(uint32_t texture) {
    DrawPicture(texture, 0.0f, 0.0f, float(gSettings.screenWidth), float(gSettings.screenHeight), 0.0f, 1.0f);
}

int ScaledToWindow(int n) {
    return gSettings.screenHeight * n / 480;
}

void DrawMenuPage(int state, const MenuPageFonts& fonts, int width, int height) {
    const PanelOrigin p = PanelFor(width, height);
    switch (state) {
    case STATE_NEW_PROFILE: DrawNewProfilePage(fonts, p); break;
    case STATE_LOAD_PROFILE: DrawLoadProfilePage(fonts, p, width); break;
    case STATE_VIDEO_SETTINGS:
        DrawOptionPage(fonts, p, "VIDEO", 196.0f, gVideoRows);
        DrawHints(*fonts.row, p, {{"You need to restart Zephyrace before changes take effect.", 280.0f},
                                  {"Use left and right arrow keys to change a setting.", 312.0f}});
        break;
    case STATE_AUDIO_SETTINGS: DrawOptionPage(fonts, p, "AUDIO", 191.0f, gAudioRows); break;
    case STATE_CONTROL_SETTINGS:
        DrawOptionPage(fonts, p, "CONTROLS", 105.0f, gControlRows);
        DrawHints(*fonts.row, p, {{"To configure a key press ENTER over the key.", 376.0f},
                                  {"Press ENTER again to exit key configuration.", 408.0f}});
        break;
    default: break;
    }
    RowColor(*fonts.row, false);
}

void DrawSlideArrows(const CardSlide& slide) {
    const float w = float(gSettings.screenWidth), h = float(gSettings.screenHeight);
    const float arrows[2][3][2] = {{{0.125f, 0.23f}, {0.1f, 0.205f}, {0.125f, 0.18f}},
                                   {{0.9f, 0.23f}, {0.925f, 0.205f}, {0.9f, 0.18f}}};
    const Rgba dim = {0.3f, 0.3f, 0.7f, 0.7f};
    BeginFlat(FLAT_SOLID);
    for (int a = 0; a < 2; a++) {
        const bool lit = a == 0 ? slide.slidingLeft : slide.slidingRight;
        Point2 corners[3];
        for (int k = 0; k < 3; k++)
            corners[k] = {arrows[a][k][0] * w, arrows[a][k][1] * h};
        DrawShape(SHAPE_TRIANGLES, corners, 3, lit ? kBright : dim);
        DrawShape(SHAPE_LOOP, corners, 3, kBright);
    }
    EndFlat();
}
