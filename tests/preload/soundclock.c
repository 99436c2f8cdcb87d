// Test-only LD_PRELOAD shim: the game's sound goes to the wave file SOUND_CAPTURE (16-bit stereo, 22050 Hz),
// mixed by an OpenAL Soft loopback device up to the moment of every call that changes or asks what is heard,
// on the game's monotonic clock: each sound lands where the game played it, however late a busy machine runs
// anything (OpenAL Soft's own wave writer mixes in bursts on a thread of its own). SOUND_CAPTURE.start holds the
// wall-clock time of the first sample; a capture that cannot be written fails the device's opening. The file
// is a whole WAV after every call, so a game that is killed leaves one too.
#define _GNU_SOURCE
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <dlfcn.h>
#include <pthread.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

enum { kRate = 22050, kChannels = 2, kChunk = 1024 };

static pthread_mutex_t gLock = PTHREAD_RECURSIVE_MUTEX_INITIALIZER_NP;
static ALCdevice* gDevice;
static FILE* gFile;
static int gMixing;             // the context exists
static struct timespec gStart;  // monotonic time of the first sample
static int64_t gDone;           // frames written

#define REAL(name, type) static type real_##name; if (!real_##name) real_##name = (type)dlsym(RTLD_NEXT, #name)

// The 44-byte header as little-endian words: "RIFF", its size, "WAVE", "fmt ", the format chunk (16 bytes: PCM,
// channels, rate, byte rate, frame size, bits), "data", its size.
static void WriteHeader(void) {
    const uint32_t data = (uint32_t)(gDone * kChannels * 2);
    const uint32_t header[11] = {0x46464952u, data + 36, 0x45564157u, 0x20746d66u, 16, 1 | kChannels << 16, kRate,
                                 kRate * kChannels * 2, kChannels * 2 | 16 << 16, 0x61746164u, data};
    rewind(gFile);
    fwrite(header, sizeof header, 1, gFile);
}

// Mixes the frames due by now; the caller holds gLock.
static void Render(void) {
    if (!gFile || !gMixing) return;
    REAL(alcRenderSamplesSOFT, LPALCRENDERSAMPLESSOFT);
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const int64_t ns = (int64_t)(now.tv_sec - gStart.tv_sec) * 1000000000 + (now.tv_nsec - gStart.tv_nsec);
    const int64_t due = ns * kRate / 1000000000;
    int16_t buffer[kChunk * kChannels];
    while (gDone < due) {
        const int n = due - gDone < kChunk ? (int)(due - gDone) : kChunk;
        real_alcRenderSamplesSOFT(gDevice, buffer, n);
        fwrite(buffer, sizeof buffer[0] * kChannels, (size_t)n, gFile);
        gDone += n;
    }
    WriteHeader();
    fseek(gFile, 0, SEEK_END);
}

ALCdevice* alcOpenDevice(const ALCchar* name) {
    REAL(alcOpenDevice, LPALCOPENDEVICE);
    REAL(alcLoopbackOpenDeviceSOFT, LPALCLOOPBACKOPENDEVICESOFT);
    const char* path = getenv("SOUND_CAPTURE");
    if (!path || gFile) return real_alcOpenDevice(name);
    gFile = fopen(path, "wb");
    if (!gFile) return NULL;
    WriteHeader();
    gDevice = real_alcLoopbackOpenDeviceSOFT(NULL);
    return gDevice;
}

ALCcontext* alcCreateContext(ALCdevice* device, const ALCint* attributes) {
    REAL(alcCreateContext, LPALCCREATECONTEXT);
    if (!device || device != gDevice) return real_alcCreateContext(device, attributes);
    const ALCint format[] = {ALC_FREQUENCY,        kRate, ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT,
                             ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT, 0};
    ALCcontext* context = real_alcCreateContext(device, format);
    char startPath[4096];
    snprintf(startPath, sizeof startPath, "%s.start", getenv("SOUND_CAPTURE"));
    FILE* start = fopen(startPath, "w");
    struct timespec wall;
    clock_gettime(CLOCK_REALTIME, &wall);
    clock_gettime(CLOCK_MONOTONIC, &gStart);
    gMixing = context != NULL;
    if (start) fprintf(start, "%ld.%09ld\n", (long)wall.tv_sec, wall.tv_nsec), fclose(start);
    return context;
}

ALCboolean alcCloseDevice(ALCdevice* device) {
    REAL(alcCloseDevice, LPALCCLOSEDEVICE);
    pthread_mutex_lock(&gLock);
    if (device && device == gDevice) {
        Render();
        fclose(gFile);
        gFile = NULL;
        gDevice = NULL;
        gMixing = 0;
    }
    pthread_mutex_unlock(&gLock);
    return real_alcCloseDevice(device);
}

// Each call the game makes to its sources first mixes what was heard up to it.
#define ON_TIME(name, type, params, args)  \
    void name params {                      \
        REAL(name, type);                   \
        pthread_mutex_lock(&gLock);         \
        Render();                           \
        real_##name args;                   \
        pthread_mutex_unlock(&gLock);       \
    }
ON_TIME(alSourcePlay, LPALSOURCEPLAY, (ALuint s), (s))
ON_TIME(alSourceStop, LPALSOURCESTOP, (ALuint s), (s))
ON_TIME(alSourcef, LPALSOURCEF, (ALuint s, ALenum p, ALfloat v), (s, p, v))
ON_TIME(alSourcei, LPALSOURCEI, (ALuint s, ALenum p, ALint v), (s, p, v))
ON_TIME(alGetSourcei, LPALGETSOURCEI, (ALuint s, ALenum p, ALint* v), (s, p, v))
ON_TIME(alSourceQueueBuffers, LPALSOURCEQUEUEBUFFERS, (ALuint s, ALsizei n, const ALuint* b), (s, n, b))
ON_TIME(alSourceUnqueueBuffers, LPALSOURCEUNQUEUEBUFFERS, (ALuint s, ALsizei n, ALuint* b), (s, n, b))
