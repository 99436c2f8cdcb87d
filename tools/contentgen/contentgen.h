#pragma once

#include <string>

// Every Generate function writes its files below the game tree root it is given.
// Each returns false (after printing why) when a file cannot be written.
bool GenerateLayout(const std::string& root);
bool GenerateAudio(const std::string& root);
bool GenerateFont(const std::string& root);
bool GenerateHud(const std::string& root);
bool GenerateSplash(const std::string& root);
bool GenerateMovie(const std::string& root);
bool GenerateVehicles(const std::string& root);
bool GenerateTrack1(const std::string& root);
bool GenerateFlares(const std::string& root);
bool GenerateTrackArt(const std::string& root);
bool GenerateTracks(const std::string& root);  // after the vehicles, track 1 and the track art
bool GenerateTrophy(const std::string& root);
bool GenerateSequences(const std::string& root);
bool GenerateMenus(const std::string& root);
