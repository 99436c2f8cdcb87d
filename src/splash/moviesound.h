#pragma once

#include <AL/al.h>

#include <deque>

class MovieSoundDecoder;

// Plays the movie's sound track through the game's OpenAL device, streamed a little ahead of the
// pictures. Without a sound track or without an open device every operation does nothing.
class MovieSpeaker {
public:
    explicit MovieSpeaker(MovieSoundDecoder* track);  // track: null, or opened and outliving the speaker
    ~MovieSpeaker();                                   // stops the sound and frees its source and buffers
    MovieSpeaker(const MovieSpeaker&) = delete;
    MovieSpeaker& operator=(const MovieSpeaker&) = delete;

    void Fill();   // queues the track until half a second waits ahead of what is playing
    void Start();  // plays what is queued; called when the first picture shows

private:
    struct Queued {
        ALuint buffer;
        long frames;
    };
    void DropPlayed();

    MovieSoundDecoder* mTrack = nullptr;
    ALuint mSource = 0;
    std::deque<Queued> mQueue;
    long mQueuedFrames = 0;
    bool mStarted = false;
};
