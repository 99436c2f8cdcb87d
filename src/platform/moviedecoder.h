#pragma once

#include <cstdint>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

// Decodes the video stream of an AVI file, frame by frame, into tightly packed RGB24 rows (top row first).
class MovieDecoder {
public:
    MovieDecoder();
    ~MovieDecoder();
    MovieDecoder(const MovieDecoder&) = delete;
    MovieDecoder& operator=(const MovieDecoder&) = delete;

    // False (with a log line) when the file is missing, not an AVI with a decodable video stream,
    // or of an implausible size.
    bool Open(const char* path);
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    double FrameRate() const { return mFrameRate; }  // frames per second, within 1 ... 120
    // The next picture; false at the end of the movie or once the stream stops making sense.
    bool NextFrame(std::vector<uint8_t>& rgb);

private:
    void Close();
    bool ReceiveFrame(std::vector<uint8_t>& rgb);

    AVFormatContext* mFormat = nullptr;
    AVCodecContext* mCodec = nullptr;
    AVFrame* mFrame = nullptr;
    AVPacket* mPacket = nullptr;
    SwsContext* mScaler = nullptr;
    int mStream = -1;
    int mWidth = 0;
    int mHeight = 0;
    double mFrameRate = 25.0;
    bool mDraining = false;
};
