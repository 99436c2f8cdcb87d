#pragma once

#include <string>

#include "canvas.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

// Encodes pictures as MJPEG in an AVI file, bit-exact, so the same pictures give the same bytes.
// Every step reports failure through Finish.
class MovieWriter {
public:
    MovieWriter(const std::string& path, int width, int height, int fps);
    ~MovieWriter();
    MovieWriter(const MovieWriter&) = delete;
    MovieWriter& operator=(const MovieWriter&) = delete;

    void Add(const Canvas& picture, int index);  // the picture must have the movie's size
    bool Finish();                               // false, with a message, when anything failed

private:
    void Send(AVFrame* frame);

    std::string mPath;
    AVFormatContext* mFormat = nullptr;
    AVCodecContext* mCodec = nullptr;
    AVStream* mStream = nullptr;
    AVFrame* mFrame = nullptr;
    AVPacket* mPacket = nullptr;
    SwsContext* mScaler = nullptr;
    bool mOk = false;
};
