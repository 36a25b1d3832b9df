// Decoding image files for the hosts: the file is opened through the host's path mapping and
// decoded with stb_image. No OpenGL call, so loader threads may use it.
#pragma once

#include "runtime/string.h"

class BBGame;

// Pixels from malloc (released with free), rows top to bottom, the file's own channel count (1 to
// 4) in *depth; null when the file cannot be opened or decoded.
unsigned char* gxtk_LoadImageData(BBGame& host, const String& path, int* width, int* height,
                                  int* depth);
