// The texel-only program: an ARB fragment program (a single texture fetch), made once for each
// context where the driver has them. An assembly program, not GLSL: Mesa builds its GLSL
// compiler's built-in library on the first GLSL shader, about 5 MB kept for the whole run.
#include "graphics/gxtk_texel_program.h"

#include <GL/glext.h>

#include <cstring>

#include "host/devices.h"

namespace {

// The extension's functions, looked up in the context that makes the program.
struct ProgramFunctions {
    PFNGLGENPROGRAMSARBPROC gen = nullptr;
    PFNGLDELETEPROGRAMSARBPROC erase = nullptr;
    PFNGLBINDPROGRAMARBPROC bind = nullptr;
    PFNGLPROGRAMSTRINGARBPROC string = nullptr;

    bool Find() {
        gen = reinterpret_cast<PFNGLGENPROGRAMSARBPROC>(bb_host_GLFunction("glGenProgramsARB"));
        erase =
            reinterpret_cast<PFNGLDELETEPROGRAMSARBPROC>(bb_host_GLFunction("glDeleteProgramsARB"));
        bind = reinterpret_cast<PFNGLBINDPROGRAMARBPROC>(bb_host_GLFunction("glBindProgramARB"));
        string =
            reinterpret_cast<PFNGLPROGRAMSTRINGARBPROC>(bb_host_GLFunction("glProgramStringARB"));
        return gen && erase && bind && string;
    }
};
ProgramFunctions arb;

constexpr const char* kTexelOnly = "!!ARBfp1.0\n"
                                   "TEX result.color, fragment.texcoord[0], texture[0], 2D;\n"
                                   "END\n";

bool HasExtension(const char* name) {
    const auto* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!list)
        return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at; at = std::strstr(at + length, name))
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0'))
            return true;
    return false;
}

GLuint Load() {
    if (!HasExtension("GL_ARB_fragment_program") || !arb.Find())
        return 0;
    GLuint program = 0;
    arb.gen(1, &program);
    arb.bind(GL_FRAGMENT_PROGRAM_ARB, program);
    // A lost context reports an error on every read, so only as many are read as there are flags.
    for (int read = 0; read < 16 && glGetError() != GL_NO_ERROR; ++read) {
    }
    arb.string(GL_FRAGMENT_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB,
               static_cast<GLsizei>(std::strlen(kTexelOnly)), kTexelOnly);
    if (glGetError() == GL_NO_ERROR)
        return program;
    arb.erase(1, &program);
    return 0;
}

} // namespace

bool gxtk_DesktopOpenGL() {
    static int checked = -1;
    static bool desktop = false;
    if (checked != bb_host_GraphicsSeq()) {
        checked = bb_host_GraphicsSeq();
        // OpenGL ES says so first; desktop OpenGL starts with its major version.
        const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        desktop = version && version[0] >= '1' && version[0] <= '9' && version[1] == '.';
    }
    return desktop;
}

gxtkTexelProgram::~gxtkTexelProgram() {
    if (program && seq == bb_host_GraphicsSeq())
        arb.erase(1, &program);
}

bool gxtkTexelProgram::Ready() {
    if (seq != bb_host_GraphicsSeq()) {
        // A new context: the old one took its program with it.
        seq = bb_host_GraphicsSeq();
        inUse = false;
        program = gxtk_DesktopOpenGL() ? Load() : 0;
        failed = program == 0;
    }
    return !failed;
}

bool gxtkTexelProgram::Use(bool on) {
    if (on && !Ready())
        on = false;
    if (on != inUse) {
        if (on) {
            arb.bind(GL_FRAGMENT_PROGRAM_ARB, program);
            glEnable(GL_FRAGMENT_PROGRAM_ARB);
        } else {
            glDisable(GL_FRAGMENT_PROGRAM_ARB);
        }
        inUse = on;
    }
    return on;
}
