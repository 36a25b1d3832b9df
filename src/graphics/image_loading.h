// Decoding image files with stb_image, for the host (installed as its image decoder). No OpenGL
// call, so loader threads may use it.
#pragma once

#include <cstdio>

#include "graphics/gxtk_surface.h"
#include "runtime/string.h"

// Pixels from malloc (released with free), rows top to bottom, the file's own channel count (1 to
// 4) in *depth; null when the open file (left open) cannot be decoded.
unsigned char* gxtk_DecodeImage(std::FILE* file, int* width, int* height, int* depth);

// The pixels of the image file at `path` as the host opens it (the game's path mapping), decoded
// as above; null when it cannot be read or decoded.
gxtkPixels gxtk_LoadPixels(const String& path, int* width, int* height, int* depth);
