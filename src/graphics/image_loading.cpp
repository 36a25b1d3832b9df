// Turning image files into surfaces: the desktop host decodes them with stb_image, and the
// renderer stores the decoded pixels in a surface. Neither touches OpenGL, so loader threads may
// run both.
#include <stb_image.h>

#include <cstdio>

#include "graphics/gxtk_graphics.h"
#include "host/glfw_game.h"

unsigned char* BBGlfwGame::LoadImageData(const String& path, int* width, int* height,
                                         int* depth) {
    FILE* file = OpenFile(path, u"rb");
    if (!file) return nullptr;
    unsigned char* pixels = stbi_load_from_file(file, width, height, depth, 0);
    std::fclose(file);
    return pixels;
}

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, const String& path) {
    if (!surface || !BBGlfwGame::_glfwGame) return false;
    int width = 0;
    int height = 0;
    int depth = 0;
    unsigned char* pixels = BBGlfwGame::_glfwGame->LoadImageData(path, &width, &height, &depth);
    if (!pixels) return false;
    surface->SetData(pixels, width, height, depth);
    return true;
}
