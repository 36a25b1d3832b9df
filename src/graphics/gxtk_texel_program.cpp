// The texel-only program: compiled and linked once for each context, where OpenGL 2.0 is there.
#define GL_GLEXT_PROTOTYPES
#include "graphics/gxtk_texel_program.h"

#include <GL/glext.h>

#include <cstring>

#include "host/devices.h"

namespace {

constexpr const char* kVertexShader =
    "void main() { gl_Position = ftransform(); gl_TexCoord[0] = gl_MultiTexCoord0; }";
constexpr const char* kFragmentShader =
    "uniform sampler2D picture;\n"
    "void main() { gl_FragColor = texture2D(picture, gl_TexCoord[0].xy); }";

GLuint Compile(GLenum kind, const char* source) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE)
        return shader;
    glDeleteShader(shader);
    return 0;
}

GLuint Link() {
    const GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexShader);
    const GLuint fragment = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
    GLuint program = 0;
    if (vertex && fragment) {
        program = glCreateProgram();
        glAttachShader(program, vertex);
        glAttachShader(program, fragment);
        glLinkProgram(program);
        GLint linked = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        if (linked != GL_TRUE) {
            glDeleteProgram(program);
            program = 0;
        }
    }
    // The program keeps what it needs; the shaders go with it.
    if (vertex)
        glDeleteShader(vertex);
    if (fragment)
        glDeleteShader(fragment);
    return program;
}

} // namespace

bool gxtk_DesktopOpenGL() {
    static int checked = -1;
    static bool desktop = false;
    if (checked != bb_host_GraphicsSeq()) {
        checked = bb_host_GraphicsSeq();
        // OpenGL ES says so first; desktop OpenGL starts with its major version.
        const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        desktop = version && version[0] >= '2' && version[0] <= '9' && version[1] == '.';
    }
    return desktop;
}

gxtkTexelProgram::~gxtkTexelProgram() {
    if (program && seq == bb_host_GraphicsSeq())
        glDeleteProgram(program);
}

bool gxtkTexelProgram::Ready() {
    if (seq != bb_host_GraphicsSeq()) {
        // A new context: the old one took its program with it.
        seq = bb_host_GraphicsSeq();
        program = gxtk_DesktopOpenGL() ? Link() : 0;
        failed = program == 0;
        inUse = false;
    }
    return !failed;
}

bool gxtkTexelProgram::Use(bool on) {
    if (on && !Ready())
        on = false;
    if (on != inUse) {
        glUseProgram(on ? program : 0);
        inUse = on;
    }
    return on;
}
