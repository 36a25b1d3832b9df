// The RIFF/WAVE reader for uncompressed PCM sound effects.
#pragma once

#include <cstdio>

// Reads a PCM WAV from the stream (which stays open). Returns a malloc'd block of
// length × channels × format bytes of interleaved samples as stored in the file (format is the
// bytes per sample: 1 for 8-bit, 2 for 16-bit little-endian), or null when the file is not a
// PCM WAV it can read. The out-values are meaningful only when a block is returned.
short* LoadWAV(std::FILE* file, int* length, int* channels, int* format, int* hertz);
