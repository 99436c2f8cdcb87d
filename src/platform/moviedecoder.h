#pragma once

#include <cstdint>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;
struct SwrContext;

// One stream of an AVI file, decoded packet by packet; the file's other streams are skipped as it is read.
class MovieStream {
public:
    MovieStream() = default;
    ~MovieStream();
    MovieStream(const MovieStream&) = delete;
    MovieStream& operator=(const MovieStream&) = delete;

    // kind is an AVMediaType. False (with a log line naming what) when the file is missing or has no
    // decodable stream of that kind.
    bool Open(const char* path, int kind, const char* what);
    // The next decoded frame into frame; false at the end or once the stream stops making sense.
    bool Receive();
    void Close();

    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    int stream = -1;
    bool draining = false;
};

// The movie's pictures, in tightly packed RGB24 rows (top row first), all of the size the file declares.
// Like the sound decoder below, not copyable: its stream is not.
class MovieDecoder {
public:
    ~MovieDecoder();

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

    MovieStream mVideo;
    SwsContext* mScaler = nullptr;
    AVFrame* mPicture = nullptr;  // the scaler's output, allocated (and padded) as FFmpeg wants it
    int mWidth = 0;
    int mHeight = 0;
    double mFrameRate = 25.0;
};

// The movie's sound track as interleaved 16-bit samples, mono or stereo, at the rate the file declares.
class MovieSoundDecoder {
public:
    ~MovieSoundDecoder();

    // False (with a log line) when the file has no decodable sound stream or an implausible one.
    bool Open(const char* path);
    int Rate() const { return mRate; }
    int Channels() const { return mChannels; }
    // The next piece of the track, replacing samples; false at the end or once the stream stops making sense.
    bool NextSamples(std::vector<int16_t>& samples);

private:
    void Close();

    MovieStream mAudio;
    SwrContext* mResampler = nullptr;
    AVFrame* mSamples = nullptr;
    int mRate = 0;
    int mChannels = 0;
};
