// Plays every kind of game sound through the sound manager on a fixed timeline, for the audio e2e test to
// capture (run from a game tree's bin folder):
//   0-1 s nothing; 1-2 s "go"; 2-3 s nothing; 3-5.5 s the engine loop at pitch 1.5; 5.5-6.5 s nothing;
//   6.5-8.5 s race results music (asked for while the intro music plays, so the intro music goes on);
//   8.5-9.5 s that music faded to 0; 9.5-10 s nothing after StopMusic; then every impact in turn.
#include <cstdio>

#include "audio/soundmanager.h"
#include "data/settings.h"
#include "platform/clock.h"

int main() {
    if (!LoadSettings()) return 1;
    CSoundManager sound;
    if (!sound.Init()) return 1;
    Sleep(1000);
    sound.PlayEffect(SOUND_GO);
    Sleep(2000);
    sound.SetEngineSound(1.5f);
    sound.StartEngine();
    Sleep(2500);
    sound.StopEngine();
    Sleep(1000);
    sound.PlayMusic(MUSIC_INTRO_RACE);
    sound.PlayMusic(MUSIC_RACE_COMPLETE);
    Sleep(2000);
    sound.SetMusicFade(0.0f);
    Sleep(1000);
    sound.StopMusic();
    Sleep(500);
    for (int id : {SOUND_IMPACT_SMALL, SOUND_IMPACT_MEDIUM, SOUND_IMPACT_HEAVY, SOUND_IMPACT_SEVERE}) {
        sound.PlayEffect(id);
        Sleep(500);
    }
    return 0;
}
