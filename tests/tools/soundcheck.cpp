// Plays every kind of game sound through the sound manager on a fixed timeline, for the audio e2e test to
// capture (run from a game tree's bin folder), in seconds after the sounds have loaded:
//   0-1 s nothing; 1-2 s "go"; 2-3 s nothing; 3-5.5 s the engine loop at pitch 1.5; 5.5-6.5 s nothing;
//   6.5-8.5 s race results music (asked for while the intro music plays, so the intro music goes on);
//   8.5-9.5 s that music faded to 0; 9.5-10 s nothing after StopMusic; then every impact in turn.
#include "audio/soundmanager.h"
#include "data/settings.h"
#include "platform/clock.h"

namespace {

uint32_t gStart;

// Waits until SECONDS after the start: a late wake-up on a busy machine delays one event, not every later one.
void At(double seconds) {
    const int32_t wait = static_cast<int32_t>(gStart + static_cast<uint32_t>(seconds * 1000.0) - timeGetTime());
    if (wait > 0) Sleep(static_cast<uint32_t>(wait));
}

}  // namespace

int main() {
    CSoundManager sound;
    if (!LoadSettings() || !sound.Init()) return 1;
    gStart = timeGetTime();
    At(1.0);
    sound.PlayEffect(SOUND_GO);
    At(3.0);
    sound.SetEngineSound(1.5f);
    sound.StartEngine();
    At(5.5);
    sound.StopEngine();
    At(6.5);
    sound.PlayMusic(MUSIC_INTRO_RACE);
    sound.PlayMusic(MUSIC_RACE_COMPLETE);
    At(8.5);
    sound.SetMusicFade(0.0f);
    At(9.5);
    sound.StopMusic();
    double at = 10.0;
    for (int id : {SOUND_IMPACT_SMALL, SOUND_IMPACT_MEDIUM, SOUND_IMPACT_HEAVY, SOUND_IMPACT_SEVERE}) {
        At(at);
        sound.PlayEffect(id);
        at += 0.5;
    }
    At(12.0);
    return 0;
}
