#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TextureEntry {
    std::string name;  // the file name exactly as requested
    uint32_t id = 0;   // GL texture name, 0 when the file could not be read
    bool keep = false;
};

// Maps file names to GL textures so each file is decoded once. Kept textures live for the whole run;
// temporary ones (the current race's) go at the next UnloadTemporary. Needs a current GL context.
class TextureManager {
public:
    TextureManager();
    ~TextureManager();
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    uint32_t Load(const char* name, bool keep);  // JPEG or BMP; 0 on failure
    uint32_t LoadRaw(const char* name);          // single-channel SGI image, always kept
    bool Unload(uint32_t id);                    // false when no entry holds id (0 never matches)
    void UnloadTemporary();

    const std::vector<TextureEntry>& Entries() const { return entries_; }

private:
    uint32_t Find(const char* name, bool keep);

    std::vector<TextureEntry> entries_;  // entry 0 is the reserved "NULL Texture"
};

// Decode a file and create its texture; 0 (after one log line) when it cannot be read.
uint32_t LoadImageTexture(const char* name);
// A missing file ends the process with exit code 1 after perror, as the game has always done.
uint32_t LoadBwTexture(const char* name);

// A texture for a movie's frames of width x height RGB pixels, smoothed and clamped at its edges.
uint32_t CreateMovieTexture(int width, int height);
// Replaces the whole picture; rgb holds packed rows.
void UpdateMovieTexture(uint32_t id, int width, int height, const uint8_t* rgb);
void DeleteTexture(uint32_t id);
