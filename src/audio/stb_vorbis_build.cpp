// Builds the stb_vorbis decoder from the stb package's header into the game, its heap use going
// through VorbisHeap so that what it leaks on a malformed stream can be taken back.
#include <alloca.h>
#include <cassert>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/vorbis_heap.h"

#define malloc(size) VorbisHeapAlloc(size)
#define free(block) VorbisHeapFree(block)
#define realloc(block, size) VorbisHeapRealloc(block, size)
#include <stb_vorbis.h>
