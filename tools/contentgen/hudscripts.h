#pragma once

#include <string>

constexpr int kNumHudScripts = 4;

// The text of the HUD script of a vehicle (0 .. kNumHudScripts - 1), written as Scripts/hud<vehicle + 1>.txt.
std::string HudScriptText(int vehicle);
