#include "scene/bytereader.h"

#include "platform/files.h"

#include <cstdio>
#include <cstring>

bool ByteReader::Seek(size_t position) {
    if (position > size_)
        return false;
    pos_ = position;
    return true;
}

bool ByteReader::Bytes(void* out, size_t count) {
    if (count > Remaining())
        return false;
    if (count > 0)
        std::memcpy(out, data_ + pos_, count);
    pos_ += count;
    return true;
}

bool ByteReader::U8(uint8_t& out) {
    return Bytes(&out, 1);
}

bool ByteReader::I8(int8_t& out) {
    return Bytes(&out, 1);
}

bool ByteReader::U16(uint16_t& out) {
    uint8_t b[2];
    if (!Bytes(b, sizeof b))
        return false;
    out = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool ByteReader::U32(uint32_t& out) {
    uint8_t b[4];
    if (!Bytes(b, sizeof b))
        return false;
    out = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
    return true;
}

bool ByteReader::I32(int32_t& out) {
    uint32_t u;
    if (!U32(u))
        return false;
    std::memcpy(&out, &u, sizeof out);
    return true;
}

bool ByteReader::F32(float& out) {
    uint32_t u;
    if (!U32(u))
        return false;
    std::memcpy(&out, &u, sizeof out);
    return true;
}

bool ByteReader::F32s(float* out, size_t count) {
    if (count > Remaining() / 4)
        return false;
    for (size_t i = 0; i < count; ++i)
        F32(out[i]);
    return true;
}

bool ByteReader::Text(char* out, size_t fieldBytes) {
    if (!Bytes(out, fieldBytes))
        return false;
    out[fieldBytes] = '\0';
    return true;
}

bool ByteReader::U16BE(uint16_t& out) {
    uint8_t b[2];
    if (!Bytes(b, sizeof b))
        return false;
    out = static_cast<uint16_t>((b[0] << 8) | b[1]);
    return true;
}

bool ByteReader::U32BE(uint32_t& out) {
    uint8_t b[4];
    if (!Bytes(b, sizeof b))
        return false;
    out = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
    return true;
}

FileReadResult ReadFileBytes(const char* path, size_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    FILE* file = OpenGameFile(path, "rb");
    if (!file)
        return FILE_READ_MISSING;
    long size = -1;
    if (fseek(file, 0, SEEK_END) == 0)
        size = ftell(file);
    if (size < 0 || static_cast<unsigned long>(size) > maxBytes || fseek(file, 0, SEEK_SET) != 0) {
        fclose(file);
        return size < 0 ? FILE_READ_MISSING : FILE_READ_TOO_LARGE;
    }
    out.resize(static_cast<size_t>(size));
    out.resize(fread(out.data(), 1, out.size(), file));
    fclose(file);
    return FILE_READ_OK;
}
