#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One compiled GLSL shader; its user deletes the GL shader (glDeleteShader) when done with it.
struct ShaderObject {
    uint32_t id = 0;    // 0 when the file could not be read or has no known type
    uint32_t type = 0;  // GL_VERTEX_SHADER or GL_FRAGMENT_SHADER, 0 = none
};

// The longest shader source we read, its terminating zero included; longer files are refused.
constexpr size_t kMaxShaderSource = 32640;

// Reads and compiles a shader file: a name ending in "frag" is a fragment shader, one ending in "vert" a
// vertex shader. Failures are logged; a failed compile still returns its id. defines, when given, are
// source lines put after the file's first line (its #version), e.g. "#define LAMP_SLOTS 0\n".
ShaderObject LoadShader(const char* path, const char* defines = nullptr);

// A named GLSL program. It remembers every shader attached to it, without owning them.
class ShaderProgram {
public:
    explicit ShaderProgram(const char* programName);
    ~ShaderProgram();  // detaches every remembered shader, then deletes the program
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    void Attach(ShaderObject* shader);
    bool Link();  // logs the program's info log on failure
    void SetSampler(const char* uniform, int unit);  // once linked
    void DetachFragmentShaders();  // the pointers stay remembered

    char name[128] = {};
    uint32_t id = 0;
    std::vector<ShaderObject*> shaders;
};
