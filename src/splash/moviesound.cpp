#include "splash/moviesound.h"

#include <vector>

#include "audio/soundmanager.h"
#include "data/settings.h"
#include "platform/moviedecoder.h"

namespace {

constexpr double kLeadSeconds = 0.5;

}  // namespace

MovieSpeaker::MovieSpeaker(MovieSoundDecoder* track) {
    if (!track || !gSoundManager || !gSoundManager->IsEnabled()) return;
    alGetError();
    alGenSources(1, &mSource);
    if (alGetError() != AL_NO_ERROR) return;
    alSourcef(mSource, AL_GAIN, gSettings.audioVolume);
    mTrack = track;
}

MovieSpeaker::~MovieSpeaker() {
    if (!mTrack) return;
    alSourceStop(mSource);
    alSourcei(mSource, AL_BUFFER, 0);  // unqueues every buffer of a stopped source
    for (const Queued& q : mQueue) alDeleteBuffers(1, &q.buffer);
    alDeleteSources(1, &mSource);
}

void MovieSpeaker::DropPlayed() {
    ALint played = 0;
    alGetSourcei(mSource, AL_BUFFERS_PROCESSED, &played);
    for (; played > 0 && !mQueue.empty(); --played) {
        ALuint buffer = mQueue.front().buffer;
        alSourceUnqueueBuffers(mSource, 1, &buffer);
        alDeleteBuffers(1, &buffer);
        mQueuedFrames -= mQueue.front().frames;
        mQueue.pop_front();
    }
}

void MovieSpeaker::Fill() {
    if (!mTrack) return;
    DropPlayed();
    ALint offset = 0;
    alGetSourcei(mSource, AL_SAMPLE_OFFSET, &offset);
    const long lead = static_cast<long>(kLeadSeconds * mTrack->Rate());
    const ALenum format = mTrack->Channels() == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    std::vector<int16_t> samples;
    while (mQueuedFrames - offset < lead && mTrack->NextSamples(samples)) {
        const long frames = static_cast<long>(samples.size()) / mTrack->Channels();
        ALuint buffer = 0;
        alGenBuffers(1, &buffer);
        alBufferData(buffer, format, samples.data(), static_cast<ALsizei>(frames * mTrack->Channels() * 2),
                     mTrack->Rate());
        alSourceQueueBuffers(mSource, 1, &buffer);
        mQueue.push_back({buffer, frames});
        mQueuedFrames += frames;
    }
    // A stall longer than the lead starves the source, which then stops: it goes on with what came since.
    ALint state = AL_STOPPED;
    alGetSourcei(mSource, AL_SOURCE_STATE, &state);
    if (mStarted && state == AL_STOPPED && !mQueue.empty()) alSourcePlay(mSource);
}

void MovieSpeaker::Start() {
    if (!mTrack) return;
    mStarted = true;
    alSourcePlay(mSource);
}
