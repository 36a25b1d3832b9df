// Picks the sound decoder for a file by its name; the host decodes sound files through it.
#pragma once

#include <cstdio>

#include "runtime/string.h"

// Decodes the open file (left open) with the decoder its path's extension names, ".wav" or
// ".ogg" in any letter case. Returns the malloc'd sample block of LoadWAV/LoadOGG, or null for
// another extension or an undecodable file.
short* DecodeAudioFile(std::FILE* file, const String& path, int* length, int* channels, int* format,
                       int* hertz);
