#pragma once

#include <string>

#include "app/gamedefs.h"

// The text of the HUD script of a vehicle (0 .. kNumVehicles - 1), written as Scripts/hud<vehicle + 1>.txt.
std::string HudScriptText(int vehicle);
