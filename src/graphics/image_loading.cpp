// Turning image files into surfaces: the host decodes them with stb_image, and the renderer
// stores the decoded pixels in a surface. Neither touches OpenGL, so loader threads may run both.
#include "graphics/image_loading.h"

#include <stb_image.h>

#include <cstdio>

#include "graphics/gxtk_graphics.h"
#include "host/glfw_game.h"

unsigned char* gxtk_LoadImageData(BBGame& host, const String& path, int* width, int* height,
                                  int* depth) {
    FILE* file = host.OpenFile(path, u"rb");
    if (!file)
        return nullptr;
    unsigned char* pixels = stbi_load_from_file(file, width, height, depth, 0);
    std::fclose(file);
    return pixels;
}

unsigned char* BBGlfwGame::LoadImageData(const String& path, int* width, int* height, int* depth) {
    return gxtk_LoadImageData(*this, path, width, height, depth);
}

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, const String& path) {
    // The host object of the process (the desktop host in the game; tests may bring their own).
    if (!surface || !BBGame::_game)
        return false;
    int width = 0;
    int height = 0;
    int depth = 0;
    unsigned char* pixels = BBGame::_game->LoadImageData(path, &width, &height, &depth);
    if (!pixels)
        return false;
    surface->SetData(pixels, width, height, depth);
    return true;
}
