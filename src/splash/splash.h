#pragma once

#include <cstdint>
#include <vector>

// Shows the splash window and returns once it has closed: after 3 seconds, a key, or a click
// outside the donation button. A click on the button opens the support page and ends the program.
void RunSplashScreen();

constexpr uint32_t kSplashDisplayMs = 3000;
extern const char* const kSupportPage;  // what the game is, its licences and credits, how to support it

// The clickable donation area, in window pixels from the top-left corner.
bool InDonationArea(int x, int y);

// The splash picture, rows top first, 3 bytes per pixel; false (with a log line) when the
// file is missing, damaged or implausibly large.
struct SplashPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};
bool LoadSplashPicture(const char* path, SplashPicture& picture);
