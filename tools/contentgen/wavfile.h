#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A canonical 44-byte-header PCM WAV image of 16-bit interleaved samples.
inline std::string EncodeWav16(const std::vector<int16_t>& samples, int channels, int rate) {
    std::string out;
    auto u16 = [&out](uint32_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
    };
    auto u32 = [&u16](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out += "RIFF";
    u32(36 + dataBytes);
    out += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(static_cast<uint32_t>(channels));
    u32(static_cast<uint32_t>(rate));
    u32(static_cast<uint32_t>(rate * channels * 2));
    u16(static_cast<uint32_t>(channels * 2));
    u16(16);
    out += "data";
    u32(dataBytes);
    for (int16_t s : samples) u16(static_cast<uint16_t>(s));
    return out;
}
