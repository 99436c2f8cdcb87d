#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Random bytes rarely get past a file header, so an input whose first byte is odd is instead read as edits
// to a sound file: a 16-bit length to cut it to, then (16-bit offset, byte) pairs to overwrite. Such an
// input is replaced by the edited copy, which out holds.
inline void PatchInput(const uint8_t*& data, size_t& size, const std::vector<uint8_t>& sound,
                       std::vector<uint8_t>& out) {
    if (size < 3 || (data[0] & 1) == 0 || sound.empty())
        return;
    out = sound;
    const size_t cut = size_t(data[1] | (data[2] << 8));
    if (cut < out.size())
        out.resize(cut);
    for (size_t i = 3; i + 2 < size && !out.empty(); i += 3)
        out[size_t(data[i] | (data[i + 1] << 8)) % out.size()] = data[i + 2];
    data = out.data();
    size = out.size();
}
