// The heap as stb_vorbis sees it: every block it takes is recorded for the thread's current
// decode, so that the decode can give back whatever the library forgets to free.
#pragma once

#include <cstddef>

// stb_vorbis' malloc, free and realloc (see stb_vorbis_build.cpp). A request larger than any
// sound needs (a hostile header can ask for gigabytes) is answered with null, which the
// library reports as out of memory.
void* VorbisHeapAlloc(std::size_t size);
void VorbisHeapFree(void* block);
void* VorbisHeapRealloc(void* block, std::size_t size);

// While one exists on a thread, blocks taken on that thread are recorded; its end frees those
// still held. stb_vorbis leaks part of its set-up memory when it refuses a malformed stream.
class VorbisHeapScope {
public:
    VorbisHeapScope();
    ~VorbisHeapScope();
    VorbisHeapScope(const VorbisHeapScope&) = delete;
    VorbisHeapScope& operator=(const VorbisHeapScope&) = delete;
};
