#include "audio/soundmanager.h"

#include <AL/alc.h>

#include "app/log.h"
#include "data/settings.h"

CSoundManager* gSoundManager = nullptr;

const char* SoundFile(int id) {
    switch (id) {
    case SOUND_INTERMENU: return "../Audio/intermenu.wav";
    case SOUND_INTRAMENU: return "../Audio/intramenu.wav";
    case SOUND_MENUSELECT: return "../Audio/menuselect.wav";
    case SOUND_ALERT: return "../Audio/alert.wav";
    case SOUND_ENGINE: return "../Audio/engine.wav";
    case SOUND_IMPACT_SMALL: return "../Audio/impact_small.wav";
    case SOUND_IMPACT_MEDIUM: return "../Audio/impact_medium.wav";
    case SOUND_IMPACT_HEAVY: return "../Audio/impact_heavy.wav";
    case SOUND_IMPACT_SEVERE: return "../Audio/impact_severe.wav";
    case SOUND_COUNTDOWN: return "../Audio/countdown.wav";
    case SOUND_GO: return "../Audio/go.wav";
    case MUSIC_MENU: return "../Audio/menu_music.wav";
    case MUSIC_RACE_COMPLETE: return "../Audio/race_complete_music.wav";
    case MUSIC_INTRO_RACE: return "../Audio/intro_race_music.wav";
    default: return nullptr;
    }
}

namespace {

constexpr int kEffectIds[] = {SOUND_INTERMENU,    SOUND_INTRAMENU,     SOUND_MENUSELECT,   SOUND_ALERT,
                              SOUND_IMPACT_SMALL, SOUND_IMPACT_MEDIUM, SOUND_IMPACT_HEAVY, SOUND_IMPACT_SEVERE,
                              SOUND_COUNTDOWN,    SOUND_GO};
constexpr int kMusicIds[] = {MUSIC_MENU, MUSIC_RACE_COMPLETE, MUSIC_INTRO_RACE};

float Volume() { return gSettings.audioVolume; }

}  // namespace

CSoundManager::CSoundManager() = default;

CSoundManager::~CSoundManager() { Shutdown(); }

void CSoundManager::Shutdown() {
    if (!mEnabled) return;
    mEnabled = false;
    mMusicPlaying = false;
    const ALuint sources[] = {mEffectsSource, mEngineSource, mMusicSource};
    for (ALuint source : sources) alSourceStop(source);
    alDeleteSources(3, sources);
    for (const auto& entry : mBuffers) alDeleteBuffers(1, &entry.second);
    ALCcontext* context = alcGetCurrentContext();
    ALCdevice* device = alcGetContextsDevice(context);
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    if (!alcCloseDevice(device)) Log("Audio Error: Failed to close audio device.");
    mBuffers.clear();
    mWaves.reset();
}

bool CSoundManager::Init() {
    mWaves = std::make_unique<CWaves>();
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) {
        Log("Audio Error: Failed to open audio device.");
        return false;
    }
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (!context) {
        Log("Audio Error: Failed to create context.");
        alcCloseDevice(device);
        return false;
    }
    alcMakeContextCurrent(context);

    alGenSources(1, &mEffectsSource);
    for (int id : kEffectIds) LoadSound(id);

    alGenSources(1, &mEngineSource);
    LoadSound(SOUND_ENGINE);
    alSourcei(mEngineSource, AL_BUFFER, static_cast<ALint>(Buffer(SOUND_ENGINE)));
    alSourcei(mEngineSource, AL_LOOPING, AL_TRUE);

    alGenSources(1, &mMusicSource);
    for (int id : kMusicIds) LoadSound(id);
    alSourcei(mMusicSource, AL_LOOPING, AL_TRUE);

    mEnabled = true;
    // Effects follow the volume setting from the start, not only once the audio page has been visited.
    ApplyVolume();
    return true;
}

// A sound that fails to load keeps its empty buffer, so its id plays silence.
void CSoundManager::LoadSound(int id) {
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (!LoadWavIntoBuffer(SoundFile(id), buffer)) Log("Failed to load wav file.");
    mBuffers[id] = buffer;
}

bool CSoundManager::LoadWavIntoBuffer(const char* path, ALuint buffer) {
    int slot = -1;
    const int32_t loaded = mWaves->LoadWaveFile(path, &slot);
    if (loaded != WAVE_OK) {
        Log("Wave file %s rejected (error %d)", path, loaded);
        return false;
    }
    ALenum format = 0;
    const int32_t formatResult = mWaves->GetALFormat(slot, &format);
    bool ok = false;
    if (formatResult == WAVE_OK) {
        const WaveInfo* info = mWaves->Get(slot);
        // OpenAL only takes whole sample frames; a torn last frame is dropped.
        const uint32_t frame = info->format.blockAlign ? info->format.blockAlign : 1;
        const uint32_t size = info->dataSize - info->dataSize % frame;
        alGetError();
        alBufferData(buffer, format, info->data.get(), static_cast<ALsizei>(size),
                     static_cast<ALsizei>(info->format.samplesPerSec));
        ok = alGetError() == AL_NO_ERROR;
    } else {
        Log("Wave file %s has no playable format (error %d)", path, formatResult);
    }
    mWaves->DeleteWaveFile(slot);
    return ok;
}

ALuint CSoundManager::Buffer(int id) const {
    const auto found = mBuffers.find(id);
    return found == mBuffers.end() ? 0 : found->second;
}

void CSoundManager::PlayEffect(int id) {
    if (!mEnabled) return;
    alSourceStop(mEffectsSource);
    alSourcei(mEffectsSource, AL_BUFFER, static_cast<ALint>(Buffer(id)));
    alSourcePlay(mEffectsSource);
}

void CSoundManager::PlayMusic(int id) {
    if (!mEnabled) return;
    alSourcef(mMusicSource, AL_GAIN, Volume());
    if (mMusicPlaying) return;
    alSourcei(mMusicSource, AL_BUFFER, static_cast<ALint>(Buffer(id)));
    alSourcePlay(mMusicSource);
    mMusicPlaying = true;
}

void CSoundManager::StopMusic() {
    if (!mEnabled) return;
    alSourceStop(mMusicSource);
    mMusicPlaying = false;
}

void CSoundManager::StartEngine() {
    if (mEnabled) alSourcePlay(mEngineSource);
}

void CSoundManager::StopEngine() {
    if (mEnabled) alSourceStop(mEngineSource);
}

void CSoundManager::SetEngineSound(float pitch) {
    if (!mEnabled) return;
    alSourcef(mEngineSource, AL_PITCH, pitch);
    alSourcef(mEngineSource, AL_GAIN, (0.5f * pitch + 0.4f) * Volume());
}

void CSoundManager::ApplyVolume() {
    if (!mEnabled) return;
    alSourcef(mEffectsSource, AL_GAIN, Volume());
    alSourcef(mMusicSource, AL_GAIN, Volume());
}

void CSoundManager::SetMusicFade(float fade) {
    if (mEnabled) alSourcef(mMusicSource, AL_GAIN, Volume() * fade);
}
