// nimbrellogo.avi: four seconds of animated studio logo, MJPEG in AVI.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "canvas.h"
#include "contentgen.h"

namespace {

constexpr int kWidth = 320, kHeight = 240, kFps = 25, kFrames = 100;
constexpr float kPi = 3.14159265f;
// A band of this colour runs along the bottom of every frame, so a screenshot can tell the movie is showing.
constexpr Rgb kBandColour = {200, 40, 160};

Canvas LogoFrame(int index) {
    const float t = static_cast<float>(index) / kFps;
    Canvas c(kWidth, kHeight);
    const float shift = 0.5f + 0.5f * std::sin(t * 1.3f);
    c.VerticalGradient(Mix({10, 12, 40}, {40, 10, 60}, shift), Mix({20, 60, 90}, {70, 30, 90}, shift));
    // Twelve orbs spiral in towards the name.
    const float radius = 58.0f + 50.0f * std::max(0.0f, 1.0f - t / 2.5f);
    for (int i = 0; i < 12; ++i) {
        const float angle = t * 1.6f + static_cast<float>(i) * kPi / 6.0f;
        const Rgb colour = Mix({90, 200, 255}, {255, 200, 90}, 0.5f + 0.5f * std::sin(angle * 2.0f));
        c.FillCircle(160.0f + radius * 1.6f * std::cos(angle), 108.0f + radius * std::sin(angle), 7.0f, colour, 0.85f);
    }
    const std::string name = "NIMBRELLO";
    const float nameAlpha = std::clamp((t - 1.2f) / 1.0f, 0.0f, 1.0f);
    const int nameX = (kWidth - Canvas::TextWidth(3, name)) / 2;
    c.DrawText(nameX, 98, 3, name, {255, 255, 255}, nameAlpha);
    const std::string games = "GAMES";
    c.DrawText((kWidth - Canvas::TextWidth(2, games)) / 2, 128, 2, games, {180, 220, 255},
               std::clamp((t - 2.0f) / 0.8f, 0.0f, 1.0f));
    // A glint sweeps across the name near the end.
    if (t > 3.0f) {
        const int glint = nameX + static_cast<int>((t - 3.0f) * 300.0f);
        c.FillRect(glint, 94, glint + 6, 124, {255, 255, 255}, 0.45f);
    }
    c.FillRect(0, kHeight - 24, kWidth, kHeight, kBandColour);
    return c;
}

// Owns the encoder state; every step reports failure through ok.
class MovieWriter {
public:
    explicit MovieWriter(const std::string& path) : mPath(path) {
        av_log_set_level(AV_LOG_ERROR);
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
        if (avformat_alloc_output_context2(&mFormat, nullptr, "avi", path.c_str()) < 0 || !codec) return;
        mFormat->flags |= AVFMT_FLAG_BITEXACT;
        mCodec = avcodec_alloc_context3(codec);
        mStream = avformat_new_stream(mFormat, nullptr);
        mFrame = av_frame_alloc();
        mPacket = av_packet_alloc();
        if (!mCodec || !mStream || !mFrame || !mPacket) return;
        mCodec->width = kWidth;
        mCodec->height = kHeight;
        mCodec->time_base = {1, kFps};
        mCodec->framerate = {kFps, 1};
        mCodec->pix_fmt = AV_PIX_FMT_YUVJ420P;
        mCodec->flags |= AV_CODEC_FLAG_BITEXACT | AV_CODEC_FLAG_QSCALE;
        mCodec->global_quality = FF_QP2LAMBDA * 3;
        mFrame->format = mCodec->pix_fmt;
        mFrame->width = kWidth;
        mFrame->height = kHeight;
        mScaler = sws_getContext(kWidth, kHeight, AV_PIX_FMT_RGB24, kWidth, kHeight, AV_PIX_FMT_YUVJ420P,
                                 SWS_BICUBIC | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr);
        mOk = mScaler && avcodec_open2(mCodec, codec, nullptr) >= 0 &&
              avcodec_parameters_from_context(mStream->codecpar, mCodec) >= 0 && av_frame_get_buffer(mFrame, 0) >= 0 &&
              avio_open(&mFormat->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0;
        if (mOk) {
            mStream->time_base = mCodec->time_base;
            mOk = avformat_write_header(mFormat, nullptr) >= 0;
        }
    }
    ~MovieWriter() {
        if (mFormat && mFormat->pb) avio_closep(&mFormat->pb);
        sws_freeContext(mScaler);
        av_packet_free(&mPacket);
        av_frame_free(&mFrame);
        avcodec_free_context(&mCodec);
        avformat_free_context(mFormat);
    }
    MovieWriter(const MovieWriter&) = delete;
    MovieWriter& operator=(const MovieWriter&) = delete;

    void Add(const Canvas& picture, int index) {
        if (!mOk || av_frame_make_writable(mFrame) < 0) {
            mOk = false;
            return;
        }
        const uint8_t* planes[1] = {picture.rgb.data()};
        const int strides[1] = {picture.width * 3};
        sws_scale(mScaler, planes, strides, 0, picture.height, mFrame->data, mFrame->linesize);
        mFrame->pts = index;
        mFrame->quality = mCodec->global_quality;
        Send(mFrame);
    }
    bool Finish() {
        Send(nullptr);
        mOk = mOk && av_write_trailer(mFormat) >= 0;
        if (!mOk) fprintf(stderr, "contentgen: cannot write %s\n", mPath.c_str());
        return mOk;
    }

private:
    void Send(AVFrame* frame) {
        if (!mOk || avcodec_send_frame(mCodec, frame) < 0) {
            mOk = false;
            return;
        }
        while (avcodec_receive_packet(mCodec, mPacket) >= 0) {
            av_packet_rescale_ts(mPacket, mCodec->time_base, mStream->time_base);
            mPacket->stream_index = mStream->index;
            if (av_interleaved_write_frame(mFormat, mPacket) < 0) mOk = false;
        }
    }

    std::string mPath;
    AVFormatContext* mFormat = nullptr;
    AVCodecContext* mCodec = nullptr;
    AVStream* mStream = nullptr;
    AVFrame* mFrame = nullptr;
    AVPacket* mPacket = nullptr;
    SwsContext* mScaler = nullptr;
    bool mOk = false;
};

}  // namespace

bool GenerateMovie(const std::string& root) {
    MovieWriter writer(root + "/nimbrellogo.avi");
    for (int i = 0; i < kFrames; ++i) writer.Add(LogoFrame(i), i);
    return writer.Finish();
}
