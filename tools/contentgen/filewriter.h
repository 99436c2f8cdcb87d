#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes bytes to path, creating missing folders; prints the path and the reason on failure.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// Copies a file unchanged over to (or a new one); prints both paths and the reason on failure.
bool CopyFileTo(const std::string& from, const std::string& to);

// While it lives, the working folder is the game tree's bin folder, where the game's own loaders expect to
// run; the previous one comes back when it dies. root() is the tree's absolute path (a relative one would
// no longer lead there). ok() is false, after a message, when the folder cannot be entered.
class GameBinFolder {
public:
    explicit GameBinFolder(const std::string& treeRoot);
    ~GameBinFolder();
    GameBinFolder(const GameBinFolder&) = delete;
    GameBinFolder& operator=(const GameBinFolder&) = delete;

    bool ok() const { return entered; }
    const std::string& root() const { return absoluteRoot; }

private:
    std::string absoluteRoot;
    std::string previous;
    bool entered = false;
};

// Little-endian and big-endian appenders for building file images.
class ByteWriter {
public:
    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void I32(int32_t v) { U32(uint32_t(v)); }
    void F32(float v);
    void F32s(const float* v, size_t count);
    void Text(const char* text, size_t fieldBytes);  // zero-padded, cut to fieldBytes
    void Raw(const void* data, size_t count);
    void U16BE(uint16_t v);
    void U32BE(uint32_t v);

    std::vector<uint8_t> bytes;
};
