#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Bounds-checked reads from a file image. A read that would pass the end fails and consumes nothing.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Remaining() const { return size_ - pos_; }
    bool Seek(size_t position);

    bool Bytes(void* out, size_t count);
    bool U8(uint8_t& out);
    bool I8(int8_t& out);
    bool U16(uint16_t& out);  // little-endian from here on
    bool I32(int32_t& out);
    bool U32(uint32_t& out);
    bool F32(float& out);
    bool F32s(float* out, size_t count);
    // A fixed field of fieldBytes; out must hold fieldBytes + 1 and is always zero-terminated.
    bool Text(char* out, size_t fieldBytes);

    // Big-endian reads (SGI images).
    bool U16BE(uint16_t& out);
    bool U32BE(uint32_t& out);

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

enum FileReadResult { FILE_READ_OK, FILE_READ_MISSING, FILE_READ_TOO_LARGE };

// The whole file at a game path, refusing files above maxBytes so a hostile size cannot drive the allocation.
FileReadResult ReadFileBytes(const char* path, size_t maxBytes, std::vector<uint8_t>& out);
