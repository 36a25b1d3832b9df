// Turning image files into surfaces: stb_image decodes the file the host has opened, and the
// renderer stores the decoded pixels in a surface. Neither touches OpenGL, so loader threads may
// run both.
#include "graphics/image_loading.h"

#include <stb_image.h>

#include <utility>

#include "graphics/gxtk_graphics.h"
#include "host/bb_game.h"

unsigned char* gxtk_DecodeImage(std::FILE* file, int* width, int* height, int* depth) {
    return stbi_load_from_file(file, width, height, depth, 0);
}

gxtkPixels gxtk_LoadPixels(const String& path, int* width, int* height, int* depth) {
    // The host object of the process (the desktop host in the game; tests may bring their own).
    if (!BBGame::_game)
        return nullptr;
    return gxtkPixels(BBGame::_game->LoadImageData(path, width, height, depth));
}

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, const String& path) {
    if (!surface)
        return false;
    int width = 0;
    int height = 0;
    int depth = 0;
    gxtkPixels pixels = gxtk_LoadPixels(path, &width, &height, &depth);
    if (!pixels)
        return false;
    surface->SetData(std::move(pixels), width, height, depth);
    surface->SetFile(path);
    return true;
}
