// Decoding image files with stb_image, for the host (installed as its image decoder). No OpenGL
// call, so loader threads may use it.
#pragma once

#include <cstdio>

// Pixels from malloc (released with free), rows top to bottom, the file's own channel count (1 to
// 4) in *depth; null when the open file (left open) cannot be decoded.
unsigned char* gxtk_DecodeImage(std::FILE* file, int* width, int* height, int* depth);
