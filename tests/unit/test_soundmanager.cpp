#include <gtest/gtest.h>

#include <cstdlib>

#include "app/gamedefs.h"
#include "app/managers.h"
#include "audio/soundmanager.h"
#include "data/settings.h"
#include "menus/profilemenus.h"
#include "race/raceflow.h"
#include "racetestutil.h"
#include "testutil.h"
#include "wavfile.h"

namespace {

ALint SourceInt(ALuint source, ALenum what) {
    ALint value = -1;
    alGetSourcei(source, what, &value);
    return value;
}

float Gain(ALuint source) {
    float gain = -1.0f;
    alGetSourcef(source, AL_GAIN, &gain);
    return gain;
}

// Whether the source plays the buffer.
::testing::AssertionResult Plays(ALuint source, ALuint buffer) {
    if (SourceInt(source, AL_BUFFER) == ALint(buffer) && SourceInt(source, AL_SOURCE_STATE) == AL_PLAYING)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "buffer " << SourceInt(source, AL_BUFFER) << " instead of " << buffer;
}

// OpenAL Soft's null backend: a real device and mixer that plays into nothing.
class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 1);
        const std::string tone = EncodeWav16(std::vector<int16_t>(22050, 1000), 1, 22050);
        for (const char* name : {"intermenu", "intramenu", "menuselect", "alert", "engine", "impact_small",
                                 "impact_medium", "impact_heavy", "impact_severe", "countdown", "go", "menu_music",
                                 "race_complete_music"})
            WriteText(sandbox.Path(std::string("Audio/") + name + ".wav"), tone);
        // intro_race_music.wav is left out; go.wav is broken.
        WriteText(sandbox.Path("Audio/go.wav"), tone.substr(0, 40));
        saved = gSettings;
        gSettings.audioVolume = 0.5f;
        ASSERT_TRUE(sound.Init());
    }
    void TearDown() override {
        gSettings = saved;
        gSoundManager = nullptr;
    }

    GameTreeSandbox sandbox;
    GameSettings saved;
    CSoundManager sound;
};

}  // namespace

TEST_F(SoundManagerTest, LoadsEverySoundMusicContinuesUntilStoppedContactsAlertsAndTheCountdownPlay) {
    EXPECT_TRUE(sound.IsEnabled());
    EXPECT_EQ(CountOf(LogText(), "Failed to load wav file."), 2);
    for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 20, 21, 22}) EXPECT_NE(sound.Buffer(id), 0u) << id;
    EXPECT_EQ(sound.Buffer(12), 0u);
    ALint size = -1;
    alGetBufferi(sound.Buffer(SOUND_GO), AL_SIZE, &size);
    EXPECT_EQ(size, 0);
    // A new effect cuts off the previous one; music plays on until stopped, and a new piece waits for that.
    EXPECT_FLOAT_EQ(Gain(sound.EffectsSource()), 0.5f);  // the settings volume from the start
    sound.PlayEffect(SOUND_INTERMENU);
    sound.PlayEffect(SOUND_IMPACT_HEAVY);
    EXPECT_TRUE(Plays(sound.EffectsSource(), sound.Buffer(SOUND_IMPACT_HEAVY)));
    sound.PlayMusic(MUSIC_MENU);
    gSettings.audioVolume = 0.8f;
    sound.PlayMusic(MUSIC_RACE_COMPLETE);  // only its gain follows
    EXPECT_TRUE(Plays(sound.MusicSource(), sound.Buffer(MUSIC_MENU)));
    EXPECT_FLOAT_EQ(Gain(sound.MusicSource()), 0.8f);
    sound.ApplyVolume();
    EXPECT_FLOAT_EQ(Gain(sound.EffectsSource()), 0.8f);
    sound.SetMusicFade(0.25f);
    EXPECT_FLOAT_EQ(Gain(sound.MusicSource()), 0.2f);
    sound.StopMusic();
    EXPECT_FALSE(sound.IsMusicPlaying());
    sound.PlayMusic(MUSIC_RACE_COMPLETE);
    EXPECT_TRUE(Plays(sound.MusicSource(), sound.Buffer(MUSIC_RACE_COMPLETE)));
    // A broken sound plays silence without harm.
    sound.StopMusic();
    sound.PlayEffect(SOUND_GO);
    sound.PlayMusic(MUSIC_INTRO_RACE);
    // A contact plays the effect of its damage (which damage sounds how: the ImpactSound test); a refused name
    // alerts; a countdown frame long enough to show a new second and end the countdown leaves the go playing, not
    // the beep. After a shutdown, or without an init, nothing plays and nothing breaks.
    gSoundManager = &sound;
    gVehicles[0] = TestVehicle();
    gSelectedVehicle = 0;
    VehicleDynamics v = MakeDynamics(gVehicles[0]);
    v.speed = 12.0f;  // head on: damage = pi/2 * speed^2 * 0.2
    ApplyImpact(v, kPi);
    EXPECT_TRUE(Plays(sound.EffectsSource(), sound.Buffer(SOUND_IMPACT_SEVERE)));
    gRequestedState = STATE_NEW_PROFILE;
    CNewProfilePhysics newProfile;
    newProfile.create();
    newProfile.enter();
    newProfile.onKey(kKeyEnter, true);  // no name yet
    EXPECT_TRUE(Plays(sound.EffectsSource(), sound.Buffer(SOUND_ALERT)));
    CCountdownPhysics countdown;
    countdown.enter();
    countdown.update(1.5f);
    countdown.update(1.6f);
    EXPECT_EQ(SourceInt(sound.EffectsSource(), AL_BUFFER), ALint(sound.Buffer(SOUND_GO)));  // empty: not playing
    sound.Shutdown();
    CSoundManager never;
    for (CSoundManager* m : {&sound, &never}) {
        EXPECT_FALSE(m->IsEnabled());
        EXPECT_EQ(m->Buffer(SOUND_GO), 0u);
        m->PlayEffect(SOUND_GO);
        m->PlayMusic(MUSIC_MENU);
        EXPECT_FALSE(m->IsMusicPlaying());
        m->SetEngineSound(1.0f);
        m->StartEngine();
        m->ApplyVolume();
        m->SetMusicFade(0.5f);
        m->StopEngine();
        m->StopMusic();
        m->Shutdown();
    }
}
