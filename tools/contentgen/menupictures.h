#pragma once

#include <string>

#include "imagewriter.h"

// Pictures of the menu screens, painted from code (the same source gives the same pixels).
RgbImage PaintChrome();      // lettering of the main menu entries
RgbImage PaintSand();        // the desert floor of the main menu scene
RgbImage PaintMetal();       // pedestal and pylons
RgbImage PaintDesertSky();   // the main menu's sky behind the scene; horizon 45 % from the top
RgbImage PaintLogo();        // the game's logo in the upper half (the menu shows only that half)
// The desktop's icon, `size` pixels square: the logo's swoosh under a "Z" on its night blue.
RgbImage PaintIcon(int size);
RgbImage PaintPanel();       // steel background of the profile, track and vehicle screens
// A chain across the card with a padlock; everything else has the colour key, so it is see-through.
RgbImage PaintLockAndChain();

// "Textures/track<n>.jpg" for n = 1 .. 24: each track rendered from its own files (written before).
bool WriteTrackPictures(const std::string& root);
