#include "lighting/shader.h"

#include "app/log.h"
#include "platform/files.h"

#include <GL/glew.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kInfoLogBytes = 1024;

bool EndsWith(const char* text, const char* ending) {
    const size_t n = std::strlen(text), m = std::strlen(ending);
    return n >= m && std::strcmp(text + n - m, ending) == 0;
}

// The whole file, or false when it cannot be opened or would not fit the source limit.
bool ReadSource(const char* path, std::string& source) {
    FILE* file = OpenGameFile(path, "r");
    if (!file) {
        Log("Failed to open %s.", path);
        return false;
    }
    char line[256];
    while (fgets(line, sizeof line, file)) {
        source += line;
        if (source.size() + 1 > kMaxShaderSource) {
            fclose(file);
            Log("Shader file %s is longer than %zu bytes.", path, kMaxShaderSource - 1);
            return false;
        }
    }
    fclose(file);
    return true;
}

}  // namespace

ShaderObject LoadShader(const char* path, const char* defines) {
    ShaderObject shader;
    std::string source;
    if (!ReadSource(path, source))
        return shader;
    if (defines) {
        const size_t firstLineEnd = source.find('\n');
        source.insert(firstLineEnd == std::string::npos ? source.size() : firstLineEnd + 1, defines);
    }
    GLenum type = 0;
    if (EndsWith(path, "frag"))
        type = GL_FRAGMENT_SHADER;
    else if (EndsWith(path, "vert"))
        type = GL_VERTEX_SHADER;
    if (type == 0) {
        Log("Shader file %s does not have type .frag og .vert!", path);
        return shader;
    }
    shader.type = type;
    shader.id = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader.id, 1, &text, nullptr);
    glCompileShader(shader.id);
    GLint status = 0;
    glGetShaderiv(shader.id, GL_COMPILE_STATUS, &status);
    if (status == 0) {
        Log("Compilation of %s failed:", path);
        char info[kInfoLogBytes] = {};
        glGetShaderInfoLog(shader.id, sizeof info, nullptr, info);
        Log("%s", info);
    }
    return shader;
}

ShaderProgram::ShaderProgram(const char* programName) {
    snprintf(name, sizeof name, "%s", programName);
    id = glCreateProgram();
}

ShaderProgram::~ShaderProgram() {
    for (ShaderObject* shader : shaders)
        glDetachShader(id, shader->id);
    glDeleteProgram(id);
}

void ShaderProgram::Attach(ShaderObject* shader) {
    glAttachShader(id, shader->id);
    // Renderers re-attach the same shaders on every entry; remembering each once keeps the list bounded.
    if (std::find(shaders.begin(), shaders.end(), shader) == shaders.end())
        shaders.push_back(shader);
}

bool ShaderProgram::Link() {
    glLinkProgram(id);
    GLint status = 0;
    glGetProgramiv(id, GL_LINK_STATUS, &status);
    if (status == 0) {
        Log("Failed to link program %s:", name);
        char info[kInfoLogBytes] = {};
        glGetProgramInfoLog(id, sizeof info, nullptr, info);
        Log("%s", info);
    }
    return status == 1;
}

void ShaderProgram::SetSampler(const char* uniform, int unit) {
    glUseProgram(id);
    glUniform1i(glGetUniformLocation(id, uniform), unit);
    glUseProgram(0);
}

void ShaderProgram::DetachFragmentShaders() {
    for (ShaderObject* shader : shaders)
        if (shader->type == GL_FRAGMENT_SHADER)
            glDetachShader(id, shader->id);
}
