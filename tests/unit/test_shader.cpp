#include <GL/glew.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "glcontext.h"
#include "lighting/shader.h"
#include "race/gamerenderer.h"
#include "testutil.h"

namespace {

const std::string kShaderDir = SHADER_SOURCE_DIR "/";

// A wall at z = -5 filling the view of a 90-degree frustum, drawn with normal +z.
void DrawWall() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.1, 0.1, -0.1, 0.1, 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -5);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 0);
    glRectf(-10, -10, 10, 10);
}

}  // namespace

TEST(Shader, FailuresAreLoggedTheGameShadersCompileAndThePointLightProgramLightsByItsLampSlots) {
    ASSERT_TRUE(MakeTestGLContext());
    GameTreeSandbox tree;
    EXPECT_EQ(LoadShader("none.vert").id, 0u);

    WriteText("plain.glsl", "void main() {}\n");
    EXPECT_EQ(LoadShader("plain.glsl").id, 0u);

    WriteText("broken.vert", "void main() { this is not glsl }\n");
    ShaderObject broken = LoadShader("broken.vert");
    EXPECT_NE(broken.id, 0u);  // kept after a failed compile

    WriteText("long.frag", std::string(kMaxShaderSource, '\n'));
    EXPECT_EQ(LoadShader("long.frag").id, 0u);

    WriteText("a.vert", "varying vec3 v; void main() { v = vec3(1.0); gl_Position = ftransform(); }\n");
    WriteText("b.frag", "varying vec4 v; void main() { gl_FragColor = v; }\n");  // v's type differs
    ShaderObject a = LoadShader("a.vert"), b = LoadShader("b.frag");
    {
        ShaderProgram program("Mismatch");
        program.Attach(&a);
        program.Attach(&b);
        EXPECT_FALSE(program.Link());
    }

    const std::string log = ReadText("log.txt");
    EXPECT_NE(log.find("Failed to open none.vert.\n"), std::string::npos);
    EXPECT_NE(log.find("Shader file plain.glsl does not have type .frag og .vert!\n"), std::string::npos);
    // The compile failure is one line with the path, then the driver's message as a line of its own.
    const size_t failed = log.find("Compilation of broken.vert failed:\n");
    ASSERT_NE(failed, std::string::npos);
    EXPECT_GT(log.size(), failed + 40);
    EXPECT_NE(log.find("long.frag is longer than"), std::string::npos);
    EXPECT_EQ(CountOf(log, "Compilation of"), 1);
    EXPECT_NE(log.find("Failed to link program Mismatch:\n"), std::string::npos);
    // The menu's shaders too, which no end-to-end test's log is searched for.
    ClearLog();
    for (const auto& entry : std::filesystem::directory_iterator(kShaderDir)) {
        ShaderObject s = LoadShader(entry.path().c_str());
        EXPECT_NE(s.id, 0u) << entry.path();
        glDeleteShader(s.id);
    }
    EXPECT_EQ(CountOf(LogText(), "Compilation"), 0) << LogText();

    ShaderObject vert = LoadShader((kShaderDir + "MultiPointLight.vert").c_str());
    ShaderObject oneSlot = LoadShader((kShaderDir + "MultiPointLight.frag").c_str(), LampSlotDefines(1));
    ShaderObject noSlot = LoadShader((kShaderDir + "MultiPointLight.frag").c_str(), LampSlotDefines(0));
    // Declared after its shaders: the program detaches them when it goes.
    ShaderProgram program("PointLight");
    program.Attach(&vert);

    TestFramebuffer fb(64, 64);
    // A white texture on unit 0 so the programs' texture lookups give 1.
    GLuint white = 0;
    const unsigned char texel[4] = {255, 255, 255, 255};
    glGenTextures(1, &white);
    glBindTexture(GL_TEXTURE_2D, white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    // Light 1 half a unit in front of the wall's centre, reaching 2 units; lights 2-4 dark as GL starts them.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float position[4] = {0, 0, -4.5f, 0}, white4[4] = {1, 1, 1, 1};  // the renderer's: light - viewer, w = 0
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white4);
    glLightf(GL_LIGHT1, GL_CONSTANT_ATTENUATION, 1);
    glLightf(GL_LIGHT1, GL_LINEAR_ATTENUATION, 0.5f);
    glClearColor(0, 0, 0, 0);
    // Pixel (32, 32) is 0.512 from the light at cos 0.976, attenuated to 0.777, on GL's default material (diffuse
    // 0.8, ambient 0.2 x 0.2); far to the side the light grazes the wall. Compiled for one lamp slot, as the game
    // does, light 1 lights it; for none, it is left out. (The fog shader: the race shadows test.)
    for (const auto& [lamps, red] : {std::pair{&oneSlot, 169}, {&noSlot, 10}}) {
        program.DetachFragmentShaders();
        program.Attach(lamps);
        ASSERT_TRUE(program.Link());
        glUseProgram(program.id);
        glClear(GL_COLOR_BUFFER_BIT);
        DrawWall();
        unsigned char centre[4], corner[4];
        glReadPixels(32, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre);
        glReadPixels(1, 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
        EXPECT_NEAR(centre[0], red, 2);
        EXPECT_LT(corner[0], 30);
    }
    glUseProgram(0);
    glDeleteTextures(1, &white);
}
