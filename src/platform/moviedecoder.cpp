#include "platform/moviedecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>
#include <string>

#include "app/log.h"
#include "platform/files.h"

namespace {

constexpr int kMaxSide = 4096;
constexpr int kMaxBadPackets = 64;  // undecodable packets in one read before we give up
constexpr int kMinRate = 4000, kMaxRate = 192000;
constexpr int kMaxChannels = 8;

bool PictureSizeOk(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

}  // namespace

MovieStream::~MovieStream() { Close(); }

void MovieStream::Close() {
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    stream = -1;
    draining = false;
}

bool MovieStream::Open(const char* path, int kind, const char* what) {
    Close();
    av_log_set_level(AV_LOG_QUIET);
    const std::string file = GamePath(path);
    // Only AVI is probed: the movie is ours, and nothing else needs to reach a demuxer.
    const AVInputFormat* avi = av_find_input_format("avi");
    if (avformat_open_input(&format, file.c_str(), avi, nullptr) < 0) {
        Log("Movie %s cannot be opened", file.c_str());
        return false;
    }
    // The AVI header names each stream's codec and size, which is all the decoders need: the streams are
    // not probed by decoding ahead.
    const AVCodec* decoder = nullptr;
    stream = av_find_best_stream(format, static_cast<AVMediaType>(kind), -1, -1, &decoder, 0);
    if (stream < 0 || !decoder) {
        Log("Movie %s has no decodable %s stream", file.c_str(), what);
        Close();
        return false;
    }
    for (unsigned i = 0; i < format->nb_streams; ++i)
        if (static_cast<int>(i) != stream) format->streams[i]->discard = AVDISCARD_ALL;
    codec = avcodec_alloc_context3(decoder);
    frame = av_frame_alloc();
    packet = av_packet_alloc();
    if (!codec || !frame || !packet || avcodec_parameters_to_context(codec, format->streams[stream]->codecpar) < 0 ||
        avcodec_open2(codec, decoder, nullptr) < 0) {
        Log("Movie %s: the %s decoder cannot be started", file.c_str(), what);
        Close();
        return false;
    }
    return true;
}

bool MovieStream::Receive() {
    if (!codec) return false;
    int badPackets = 0;
    while (badPackets < kMaxBadPackets) {
        if (avcodec_receive_frame(codec, frame) >= 0) return true;
        if (draining) return false;
        if (av_read_frame(format, packet) < 0) {
            // End of file: flush the frames the decoder still holds.
            draining = true;
            avcodec_send_packet(codec, nullptr);
            continue;
        }
        if (packet->stream_index == stream && avcodec_send_packet(codec, packet) < 0) ++badPackets;
        av_packet_unref(packet);
    }
    return false;
}

MovieDecoder::~MovieDecoder() { Close(); }

void MovieDecoder::Close() {
    sws_freeContext(mScaler);
    mScaler = nullptr;
    av_frame_free(&mPicture);
    mVideo.Close();
    mWidth = mHeight = 0;
}

bool MovieDecoder::Open(const char* path) {
    Close();
    if (!mVideo.Open(path, AVMEDIA_TYPE_VIDEO, "video")) return false;
    const AVStream* stream = mVideo.format->streams[mVideo.stream];
    const AVCodecParameters* params = stream->codecpar;
    if (!PictureSizeOk(params->width, params->height)) {
        Log("Movie %s has an unusable picture size %dx%d", path, params->width, params->height);
        Close();
        return false;
    }
    mPicture = av_frame_alloc();
    if (!mPicture) {
        Close();
        return false;
    }
    mPicture->format = AV_PIX_FMT_RGB24;
    mPicture->width = params->width;
    mPicture->height = params->height;
    if (av_frame_get_buffer(mPicture, 0) < 0) {
        Log("Movie %s: no memory for its pictures", path);
        Close();
        return false;
    }
    mWidth = params->width;
    mHeight = params->height;
    // An AVI video stream counts time in frames.
    const AVRational frame = stream->avg_frame_rate.num > 0 ? av_inv_q(stream->avg_frame_rate) : stream->time_base;
    const double fps = frame.num > 0 && frame.den > 0 ? 1.0 / av_q2d(frame) : 25.0;
    mFrameRate = std::clamp(fps, 1.0, 120.0);
    return true;
}

bool MovieDecoder::NextFrame(std::vector<uint8_t>& rgb) {
    while (mVideo.Receive()) {
        const AVFrame* in = mVideo.frame;
        // A damaged stream may change size or format mid-way: the scaler follows each frame, and the
        // picture keeps the size the file declared. swscale's vector code writes whole blocks past a row's
        // end, so it writes into FFmpeg's own padded frame and the rows are copied out from there.
        bool scaled = false;
        if (PictureSizeOk(in->width, in->height)) {
            mScaler = sws_getCachedContext(mScaler, in->width, in->height, static_cast<AVPixelFormat>(in->format),
                                           mWidth, mHeight, AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr);
            scaled = mScaler && sws_scale(mScaler, in->data, in->linesize, 0, in->height, mPicture->data,
                                          mPicture->linesize) > 0;
        }
        av_frame_unref(mVideo.frame);
        if (!scaled) continue;
        const size_t row = static_cast<size_t>(mWidth) * 3;
        rgb.resize(row * mHeight);
        for (int y = 0; y < mHeight; ++y)
            memcpy(rgb.data() + row * y, mPicture->data[0] + static_cast<size_t>(mPicture->linesize[0]) * y, row);
        return true;
    }
    return false;
}

MovieSoundDecoder::~MovieSoundDecoder() { Close(); }

void MovieSoundDecoder::Close() {
    swr_free(&mResampler);
    av_frame_free(&mSamples);
    mAudio.Close();
    mRate = mChannels = 0;
}

bool MovieSoundDecoder::Open(const char* path) {
    Close();
    if (!mAudio.Open(path, AVMEDIA_TYPE_AUDIO, "sound")) return false;
    const AVCodecParameters* params = mAudio.format->streams[mAudio.stream]->codecpar;
    const int channels = params->ch_layout.nb_channels;
    if (params->sample_rate < kMinRate || params->sample_rate > kMaxRate || channels < 1 || channels > kMaxChannels) {
        Log("Movie %s has an unusable sound track (%d Hz, %d channels)", path, params->sample_rate, channels);
        Close();
        return false;
    }
    mResampler = swr_alloc();
    mSamples = av_frame_alloc();
    if (!mResampler || !mSamples) {
        Close();
        return false;
    }
    mRate = params->sample_rate;
    mChannels = channels == 1 ? 1 : 2;
    return true;
}

bool MovieSoundDecoder::NextSamples(std::vector<int16_t>& samples) {
    while (mAudio.Receive()) {
        const AVFrame* in = mAudio.frame;
        // Every piece is converted to the track's opening format; a piece in another format (a damaged
        // stream may change it mid-way) sets the converter up afresh.
        int converted = -1;
        for (int attempt = 0; attempt < 2 && converted < 0; ++attempt) {
            if (attempt > 0) swr_close(mResampler);
            av_frame_unref(mSamples);
            mSamples->format = AV_SAMPLE_FMT_S16;
            mSamples->sample_rate = mRate;
            av_channel_layout_default(&mSamples->ch_layout, mChannels);
            converted = swr_convert_frame(mResampler, mSamples, in);
        }
        av_frame_unref(mAudio.frame);
        if (converted < 0 || mSamples->nb_samples <= 0) continue;
        const auto* data = reinterpret_cast<const int16_t*>(mSamples->data[0]);
        samples.assign(data, data + static_cast<size_t>(mSamples->nb_samples) * mChannels);
        return true;
    }
    return false;
}
