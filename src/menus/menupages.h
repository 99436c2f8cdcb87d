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

// Draws the page of `state` (4 .. 8) inside the darkened 640 x 480 panel, in a FLAT_SHAPES pass.
void DrawMenuPage(int state, const MenuPageFonts& fonts, int width, int height);

// Light model and light 0 of the menu scenes (the main menu and the vehicle previews).
void SetMenuLighting();
// A texture over the whole window, upright, in a FLAT_PICTURE pass (scene/glstate.h).
void DrawWindowPicture(uint32_t texture);
// The left and right arrows of a card screen, lit while the card slides their way, in their own flat pass.
void DrawSlideArrows(const CardSlide& slide);
// A size designed for a 480-line screen, scaled to the window height: trunc(H * n / 480).
int ScaledToWindow(int n);
