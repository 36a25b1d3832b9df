// A look at an Ogg Vorbis stream's comment header before stb_vorbis reads it.
#pragma once

#include <cstdio>

// True when the stream's second Vorbis packet (the comment header) is whole and every length
// in it fits inside it. stb_vorbis trusts those lengths: a count or length that is negative
// or larger than the packet makes it write outside its memory or free pointers it never set,
// so such a stream is refused before it gets there. Reads from the current position and puts
// the stream back there.
bool VorbisCommentsFit(std::FILE* file);
