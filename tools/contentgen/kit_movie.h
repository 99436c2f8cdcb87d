#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

// Encodes pictures as MJPEG in an AVI file, with an optional mono 16-bit PCM sound track, bit-exact, so the
// same pictures and sound give the same bytes. Every step reports failure through Finish.
class MovieWriter {
public:
    // soundRate 0: a movie without sound.
    MovieWriter(const std::string& path, int width, int height, int fps, int soundRate = 0);
    ~MovieWriter();
    MovieWriter(const MovieWriter&) = delete;
    MovieWriter& operator=(const MovieWriter&) = delete;

    void Add(const Canvas& picture, int index);  // the picture must have the movie's size
    void AddSound(const std::vector<int16_t>& samples);  // the whole track, at the sound rate
    bool Finish();                               // false, with a message, when anything failed

private:
    void Send(AVFrame* frame);

    std::string mPath;
    AVFormatContext* mFormat = nullptr;
    AVCodecContext* mCodec = nullptr;
    AVStream* mStream = nullptr;
    AVStream* mSound = nullptr;
    AVFrame* mFrame = nullptr;
    AVPacket* mPacket = nullptr;
    SwsContext* mScaler = nullptr;
    int mFps = 0;
    bool mOk = false;
};
