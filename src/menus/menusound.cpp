#include "audio/soundmanager.h"
#include "menus/menu.h"

void PlayMenuSound(int id) {
    if (gSoundManager)
        gSoundManager->PlayEffect(id);
}

void StartMenuMusic() {
    if (gSoundManager)
        gSoundManager->PlayMusic(MUSIC_MENU);
}

void StopMenuMusic() {
    if (gSoundManager)
        gSoundManager->StopMusic();
}
