#include "kit_movie.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdio>
#include <cstring>

MovieWriter::MovieWriter(const std::string& path, int width, int height, int fps, int soundRate)
    : mPath(path), mFps(fps) {
    av_log_set_level(AV_LOG_ERROR);
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (avformat_alloc_output_context2(&mFormat, nullptr, "avi", path.c_str()) < 0 || !codec) return;
    mFormat->flags |= AVFMT_FLAG_BITEXACT;
    mCodec = avcodec_alloc_context3(codec);
    mStream = avformat_new_stream(mFormat, nullptr);
    mFrame = av_frame_alloc();
    mPacket = av_packet_alloc();
    if (!mCodec || !mStream || !mFrame || !mPacket) return;
    if (soundRate > 0) {
        mSound = avformat_new_stream(mFormat, nullptr);
        if (!mSound) return;
        AVCodecParameters* sound = mSound->codecpar;
        sound->codec_type = AVMEDIA_TYPE_AUDIO;
        sound->codec_id = AV_CODEC_ID_PCM_S16LE;
        sound->format = AV_SAMPLE_FMT_S16;
        sound->sample_rate = soundRate;
        av_channel_layout_default(&sound->ch_layout, 1);
        sound->bits_per_coded_sample = 16;
        sound->block_align = 2;
        sound->bit_rate = 16L * soundRate;
        mSound->time_base = {1, soundRate};
    }
    mCodec->width = width;
    mCodec->height = height;
    mCodec->time_base = {1, fps};
    mCodec->framerate = {fps, 1};
    mCodec->pix_fmt = AV_PIX_FMT_YUVJ420P;
    mCodec->flags |= AV_CODEC_FLAG_BITEXACT | AV_CODEC_FLAG_QSCALE;
    mCodec->global_quality = FF_QP2LAMBDA * 3;
    mFrame->format = mCodec->pix_fmt;
    mFrame->width = width;
    mFrame->height = height;
    mScaler = sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height, AV_PIX_FMT_YUVJ420P,
                             SWS_BICUBIC | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr);
    mOk = mScaler && avcodec_open2(mCodec, codec, nullptr) >= 0 &&
          avcodec_parameters_from_context(mStream->codecpar, mCodec) >= 0 && av_frame_get_buffer(mFrame, 0) >= 0 &&
          avio_open(&mFormat->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0;
    if (mOk) {
        mStream->time_base = mCodec->time_base;
        mOk = avformat_write_header(mFormat, nullptr) >= 0;
    }
}

MovieWriter::~MovieWriter() {
    if (mFormat && mFormat->pb) avio_closep(&mFormat->pb);
    sws_freeContext(mScaler);
    av_packet_free(&mPacket);
    av_frame_free(&mFrame);
    avcodec_free_context(&mCodec);
    avformat_free_context(mFormat);
}

void MovieWriter::Add(const Canvas& picture, int index) {
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
void MovieWriter::AddSound(const std::vector<int16_t>& samples) {
    if (!mOk || !mSound) {
        mOk = false;
        return;
    }
    // One chunk per picture's time; the muxer interleaves them with the pictures.
    const size_t chunk = static_cast<size_t>(mSound->codecpar->sample_rate / mFps);
    for (size_t at = 0; at < samples.size() && mOk; at += chunk) {
        const size_t count = std::min(chunk, samples.size() - at);
        if (av_new_packet(mPacket, static_cast<int>(count * 2)) < 0) {
            mOk = false;
            return;
        }
        memcpy(mPacket->data, samples.data() + at, count * 2);  // little-endian, as the track is stored
        mPacket->pts = mPacket->dts = static_cast<int64_t>(at);
        mPacket->duration = static_cast<int64_t>(count);
        av_packet_rescale_ts(mPacket, {1, mSound->codecpar->sample_rate}, mSound->time_base);
        mPacket->stream_index = mSound->index;
        if (av_interleaved_write_frame(mFormat, mPacket) < 0) mOk = false;
    }
}

bool MovieWriter::Finish() {
    Send(nullptr);
    mOk = mOk && av_write_trailer(mFormat) >= 0;
    if (!mOk) fprintf(stderr, "contentgen: cannot write %s\n", mPath.c_str());
    return mOk;
}

void MovieWriter::Send(AVFrame* frame) {
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
