#pragma once

#include <AL/al.h>

#include <map>
#include <memory>

#include "audio/waves.h"

// Sound ids; 12 to 19 are unused.
enum SoundId {
    SOUND_INTERMENU = 1,       // main menu page switch
    SOUND_INTRAMENU = 2,       // selection moved or setting changed
    SOUND_MENUSELECT = 3,      // entry confirmed
    SOUND_ALERT = 4,           // input refused
    SOUND_ENGINE = 5,          // engine loop
    SOUND_IMPACT_SMALL = 6,
    SOUND_IMPACT_MEDIUM = 7,
    SOUND_IMPACT_HEAVY = 8,
    SOUND_IMPACT_SEVERE = 9,
    SOUND_COUNTDOWN = 10,
    SOUND_GO = 11,
    MUSIC_MENU = 20,
    MUSIC_RACE_COMPLETE = 21,
    MUSIC_INTRO_RACE = 22,
};

// The file a sound id is loaded from, or null for an unused id.
const char* SoundFile(int id);

// All game audio: one effects source (a new effect cuts the previous one off), a looping engine
// source and a looping music source. Every operation but Init is a no-op while sound is disabled,
// so a machine without an audio device runs the game silently.
class CSoundManager {
public:
    CSoundManager();
    ~CSoundManager();  // runs Shutdown
    CSoundManager(const CSoundManager&) = delete;
    CSoundManager& operator=(const CSoundManager&) = delete;

    bool Init();      // opens the default device and loads every sound; false leaves sound disabled
    void Shutdown();  // releases the sources, buffers, context and device; sound is disabled afterwards

    void PlayEffect(int id);
    // Starts music id at the settings volume unless music is already playing, in which case
    // only the gain follows the volume and the running piece continues.
    void PlayMusic(int id);
    void StopMusic();
    void StartEngine();
    void StopEngine();
    void SetEngineSound(float pitch);  // gain follows the pitch: (0.5 * pitch + 0.4) * volume
    void ApplyVolume();                // effects and music at the settings volume; Init applies it too
    void SetMusicFade(float fade);     // music at volume * fade

    bool IsEnabled() const { return mEnabled; }
    bool IsMusicPlaying() const { return mMusicPlaying; }
    ALuint Buffer(int id) const;  // 0 for an id never loaded
    ALuint EffectsSource() const { return mEffectsSource; }
    ALuint EngineSource() const { return mEngineSource; }
    ALuint MusicSource() const { return mMusicSource; }

private:
    void LoadSound(int id);
    bool LoadWavIntoBuffer(const char* path, ALuint buffer);

    std::unique_ptr<CWaves> mWaves;
    bool mEnabled = false;
    bool mMusicPlaying = false;
    std::map<int, ALuint> mBuffers;
    ALuint mEffectsSource = 0;
    ALuint mEngineSource = 0;
    ALuint mMusicSource = 0;
};

// Made by the app before the first frame, null before then and after shutdown: callers test it before use.
extern CSoundManager* gSoundManager;
