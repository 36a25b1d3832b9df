// A lost OpenGL context reports an error on every glGetError: a texture upload must still end.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <dlfcn.h>

#include "graphics/graphics_test_support.h"

namespace {

constexpr GLenum kContextLost = 0x0507;
// More reads than this would be an upload waiting for the errors to run out.
constexpr int kEndless = 100000;

// While set, every glGetError of this program reports a lost context.
bool g_lost = false;
int g_reads = 0;

} // namespace

// Stands in for the driver's glGetError in this test program and passes through to it, so the
// other tests meet the real one.
extern "C" GLenum glGetError(void) {
    using GetError = GLenum (*)();
    static const auto driver = reinterpret_cast<GetError>(dlsym(RTLD_NEXT, "glGetError"));
    if (g_lost && ++g_reads < kEndless)
        return kContextLost;
    return driver ? driver() : GL_NO_ERROR;
}

TEST(LostContext, ATextureUploadEndsWhenEveryErrorReadReportsTheLoss) {
    graphics_test::GlWindow window(64, 64);
    auto surface = graphics_test::SolidSurface(8, 8, 4);
    g_lost = true;
    surface->Bind();
    g_lost = false;
    EXPECT_GT(g_reads, 0);
    EXPECT_LT(g_reads, 100);
}
