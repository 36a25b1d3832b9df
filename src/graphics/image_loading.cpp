// Turning image files into surfaces: stb_image decodes the file the host has opened, and the
// renderer stores the decoded pixels in a surface. Neither touches OpenGL, so loader threads may
// run both.
#include "graphics/image_loading.h"

#include <stb_image.h>

#include "graphics/gxtk_graphics.h"
#include "host/bb_game.h"

unsigned char* gxtk_DecodeImage(std::FILE* file, int* width, int* height, int* depth) {
    return stbi_load_from_file(file, width, height, depth, 0);
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
