#include "scene/texturemanager.h"

#include "app/log.h"
#include "platform/files.h"
#include "scene/bytereader.h"
#include "scene/sgiimage.h"
#include "scene/textureimage.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr size_t kMaxTextureFileBytes = size_t(64) << 20;

}  // namespace

TextureManager::TextureManager() {
    entries_.push_back({"NULL Texture", 0, true});
}

TextureManager::~TextureManager() {
    for (size_t i = 1; i < entries_.size(); ++i)
        if (entries_[i].id != 0)
            glDeleteTextures(1, &entries_[i].id);
    entries_.clear();
}

// The id of the last entry named name (0 if none); with keep, every such entry becomes kept.
uint32_t TextureManager::Find(const char* name, bool keep) {
    uint32_t id = 0;
    for (size_t i = 1; i < entries_.size(); ++i) {
        if (entries_[i].name != name)
            continue;
        id = entries_[i].id;
        if (keep)
            entries_[i].keep = true;
    }
    return id;
}

uint32_t TextureManager::Load(const char* name, bool keep) {
    if (const uint32_t id = Find(name, keep))
        return id;
    const uint32_t id = LoadImageTexture(name);
    // A file that failed before is tried again, but keeps its one entry rather than adding one per request.
    for (size_t i = 1; i < entries_.size(); ++i) {
        if (entries_[i].name == name) {
            entries_[i].id = id;
            entries_[i].keep = entries_[i].keep || keep;
            return id;
        }
    }
    entries_.push_back({name, id, keep});
    return id;
}

uint32_t TextureManager::LoadRaw(const char* name) {
    if (const uint32_t id = Find(name, false))
        return id;
    const uint32_t id = LoadBwTexture(name);
    entries_.push_back({name, id, true});
    return id;
}

bool TextureManager::Unload(uint32_t id) {
    if (id == 0)
        return false;  // would otherwise match the reserved entry
    for (size_t i = 1; i < entries_.size(); ++i) {
        if (entries_[i].id == id) {
            entries_.erase(entries_.begin() + long(i));
            glDeleteTextures(1, &id);
            return true;
        }
    }
    return false;
}

void TextureManager::UnloadTemporary() {
    size_t i = 1;
    while (i < entries_.size()) {
        if (entries_[i].keep) {
            ++i;
            continue;
        }
        // Ids other than 0 are unique, so this drops entry i itself; failed entries (id 0) have no texture.
        if (entries_[i].id == 0 || !Unload(entries_[i].id))
            entries_.erase(entries_.begin() + long(i));
    }
}

uint32_t LoadImageTexture(const char* name) {
    std::vector<uint8_t> bytes;
    if (ReadFileBytes(name, kMaxTextureFileBytes, bytes) != FILE_READ_OK) {
        Log("Failed to read texture %s", name);
        return 0;
    }
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    TextureImage image;
    const char* error = "";
    if (maxSize <= 0 || !PrepareTextureImage(bytes.data(), bytes.size(), maxSize, image, error)) {
        Log("Failed to decode texture %s: %s", name, maxSize <= 0 ? "no GL context" : error);
        return 0;
    }
    if (error)
        Log("Texture %s is damaged but shown: %s", name, error);
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    // Colour-keyed pictures keep hard edges: mipmaps and filtering would blend the key into its neighbours.
    if (image.transparent) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     image.rgba.data());
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE,
                          image.rgba.data());
    }
    return id;
}

uint32_t LoadBwTexture(const char* name) {
    std::vector<uint8_t> bytes;
    switch (ReadFileBytes(name, kMaxTextureFileBytes, bytes)) {
    case FILE_READ_MISSING:
        perror(GamePath(name).c_str());
        exit(1);
    case FILE_READ_TOO_LARGE:
        Log("Failed to read SGI image %s: file too large", name);
        return 0;
    case FILE_READ_OK:
        break;
    }
    BwImage image;
    const char* error = "";
    if (!ReadBwImage(bytes.data(), bytes.size(), image, error)) {
        Log("Failed to read SGI image %s: %s", name, error);
        return 0;
    }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Rows of one byte per pixel are not padded to four bytes.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 1, image.width, image.height, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                      image.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return id;
}

uint32_t CreateMovieTexture(int width, int height) {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    return id;
}

void UpdateMovieTexture(uint32_t id, int width, int height, const uint8_t* rgb) {
    // Rows of RGB pixels are packed, whatever their width.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glPopClientAttrib();
}

void DeleteTexture(uint32_t id) {
    glDeleteTextures(1, &id);
}
