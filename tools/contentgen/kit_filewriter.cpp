#include "filewriter.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

GameBinFolder::GameBinFolder(const std::string& treeRoot) {
    std::error_code ec;
    absoluteRoot = std::filesystem::absolute(treeRoot, ec).string();
    previous = std::filesystem::current_path(ec).string();
    if (!ec)
        std::filesystem::current_path(std::filesystem::path(absoluteRoot) / "bin", ec);
    entered = !ec;
    if (!entered)
        fprintf(stderr, "contentgen: cannot work in %s/bin: %s\n", treeRoot.c_str(), ec.message().c_str());
}

GameBinFolder::~GameBinFolder() {
    std::error_code ec;
    if (entered)
        std::filesystem::current_path(previous, ec);
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    std::error_code ec;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec)
        fprintf(stderr, "contentgen: cannot copy %s to %s: %s\n", from.c_str(), to.c_str(), ec.message().c_str());
    return !ec;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        perror(path.c_str());
        return false;
    }
    const bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (fclose(f) != 0 || !ok) {
        fprintf(stderr, "%s: write failed\n", path.c_str());
        return false;
    }
    return true;
}

void ByteWriter::U16(uint16_t v) {
    U8(uint8_t(v));
    U8(uint8_t(v >> 8));
}

void ByteWriter::U32(uint32_t v) {
    U16(uint16_t(v));
    U16(uint16_t(v >> 16));
}

void ByteWriter::F32(float v) {
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    U32(u);
}

void ByteWriter::F32s(const float* v, size_t count) {
    for (size_t i = 0; i < count; ++i)
        F32(v[i]);
}

void ByteWriter::Text(const char* text, size_t fieldBytes) {
    const size_t length = strnlen(text, fieldBytes);
    Raw(text, length);
    bytes.insert(bytes.end(), fieldBytes - length, 0);
}

void ByteWriter::Raw(const void* data, size_t count) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + count);
}

void ByteWriter::U16BE(uint16_t v) {
    U8(uint8_t(v >> 8));
    U8(uint8_t(v));
}

void ByteWriter::U32BE(uint32_t v) {
    U16BE(uint16_t(v >> 16));
    U16BE(uint16_t(v));
}
