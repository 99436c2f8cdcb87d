#include "menus/menu.h"

#include "app/managers.h"
#include "audio/soundmanager.h"

// The sound manager has no playback yet; these keep the menus' call sites in place until it does.
void PlayMenuSound(int) {}
void StartMenuMusic() {}
void StopMenuMusic() {}
