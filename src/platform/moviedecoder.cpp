#include "platform/moviedecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <algorithm>

#include "app/log.h"
#include "platform/files.h"

namespace {

constexpr int kMaxSide = 4096;
constexpr int kMaxBadPackets = 64;  // consecutive undecodable packets before we give up

}  // namespace

MovieDecoder::MovieDecoder() = default;

MovieDecoder::~MovieDecoder() { Close(); }

void MovieDecoder::Close() {
    sws_freeContext(mScaler);
    mScaler = nullptr;
    av_packet_free(&mPacket);
    av_frame_free(&mFrame);
    avcodec_free_context(&mCodec);
    avformat_close_input(&mFormat);
    mStream = -1;
    mWidth = mHeight = 0;
    mDraining = false;
}

bool MovieDecoder::Open(const char* path) {
    Close();
    av_log_set_level(AV_LOG_QUIET);
    const std::string file = GamePath(path);
    // Only AVI is probed: the movie is ours, and nothing else needs to reach a demuxer.
    const AVInputFormat* avi = av_find_input_format("avi");
    if (avformat_open_input(&mFormat, file.c_str(), avi, nullptr) < 0) {
        Log("Movie %s cannot be opened", file.c_str());
        return false;
    }
    if (avformat_find_stream_info(mFormat, nullptr) < 0) {
        Log("Movie %s has no readable streams", file.c_str());
        Close();
        return false;
    }
    const AVCodec* codec = nullptr;
    mStream = av_find_best_stream(mFormat, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (mStream < 0 || !codec) {
        Log("Movie %s has no decodable video stream", file.c_str());
        Close();
        return false;
    }
    const AVStream* stream = mFormat->streams[mStream];
    const AVCodecParameters* params = stream->codecpar;
    if (params->width <= 0 || params->height <= 0 || params->width > kMaxSide || params->height > kMaxSide) {
        Log("Movie %s has an unusable picture size %dx%d", file.c_str(), params->width, params->height);
        Close();
        return false;
    }
    mCodec = avcodec_alloc_context3(codec);
    mFrame = av_frame_alloc();
    mPacket = av_packet_alloc();
    if (!mCodec || !mFrame || !mPacket || avcodec_parameters_to_context(mCodec, params) < 0 ||
        avcodec_open2(mCodec, codec, nullptr) < 0) {
        Log("Movie %s: the video decoder cannot be started", file.c_str());
        Close();
        return false;
    }
    mWidth = params->width;
    mHeight = params->height;
    const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    const double fps = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 25.0;
    mFrameRate = std::clamp(fps, 1.0, 120.0);
    return true;
}

bool MovieDecoder::ReceiveFrame(std::vector<uint8_t>& rgb) {
    if (avcodec_receive_frame(mCodec, mFrame) < 0) return false;
    // A stream may change size mid-way; we keep the size it was opened with and scale into it.
    if (mFrame->width <= 0 || mFrame->height <= 0 || mFrame->width > kMaxSide || mFrame->height > kMaxSide) {
        av_frame_unref(mFrame);
        return false;
    }
    mScaler = sws_getCachedContext(mScaler, mFrame->width, mFrame->height,
                                   static_cast<AVPixelFormat>(mFrame->format), mWidth, mHeight, AV_PIX_FMT_RGB24,
                                   SWS_BILINEAR, nullptr, nullptr, nullptr);
    bool ok = false;
    if (mScaler) {
        rgb.resize(static_cast<size_t>(mWidth) * mHeight * 3);
        uint8_t* planes[4] = {rgb.data(), nullptr, nullptr, nullptr};
        int strides[4] = {mWidth * 3, 0, 0, 0};
        ok = sws_scale(mScaler, mFrame->data, mFrame->linesize, 0, mFrame->height, planes, strides) > 0;
    }
    av_frame_unref(mFrame);
    return ok;
}

bool MovieDecoder::NextFrame(std::vector<uint8_t>& rgb) {
    if (!mCodec) return false;
    int badPackets = 0;
    while (badPackets < kMaxBadPackets) {
        if (ReceiveFrame(rgb)) return true;
        if (mDraining) return false;
        const int read = av_read_frame(mFormat, mPacket);
        if (read < 0) {
            // End of file: flush the frames the decoder still holds.
            mDraining = true;
            avcodec_send_packet(mCodec, nullptr);
            continue;
        }
        if (mPacket->stream_index == mStream && avcodec_send_packet(mCodec, mPacket) < 0) ++badPackets;
        av_packet_unref(mPacket);
    }
    return false;
}
