// The Ogg Vorbis decoder for music and sound effects, over stb_vorbis.
#pragma once

#include <cstdio>

// Decodes the whole Vorbis stream from the file (which stays open) into a malloc'd block of
// interleaved 16-bit samples: length frames × channels, format 2. Null when the stream cannot be
// opened as Vorbis.
short* LoadOGG(std::FILE* file, int* length, int* channels, int* format, int* hertz);
