#pragma once

#include <cstdint>

class CBitmapFont;
struct CardSlide;

// The fonts of the main menu and its pages.
struct MenuPageFonts {
    CBitmapFont* row;    // Arial 24 bold
    CBitmapFont* entry;  // Courier New 50 bold
    CBitmapFont* title;  // Beware 64
};

// Draws the page of `state` (4 .. 8) inside the darkened 640 x 480 panel; call in 2D mode with blending on.
void DrawMenuPage(int state, const MenuPageFonts& fonts, int width, int height);

void SetFontColor(CBitmapFont& font, float r, float g, float b, float a = 1.0f);

// Light model and light 0 of the menu scenes (the main menu and the vehicle previews).
void SetMenuLighting();
// Depth test, culling and lighting off (true) or back on (false) around flat pictures.
void FlatPictureState(bool on);
// A texture over the whole window, upright, in white (2D mode); leaves texturing on.
void DrawWindowPicture(uint32_t texture);
// The left and right arrows of a card screen, lit while the card slides their way (2D mode).
void DrawSlideArrows(const CardSlide& slide);
// A size designed for a 480-line screen, scaled to the window height: trunc(H * n / 480).
int ScaledToWindow(int n);
