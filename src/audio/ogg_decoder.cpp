// The Ogg Vorbis decoder: stb_vorbis decodes frame by frame into a buffer that doubles whenever
// less than one largest frame of room is left.
#include "audio/ogg_decoder.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "audio/heap_block.h"
#include "audio/vorbis_comment_check.h"
#include "audio/vorbis_heap.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

namespace {

// The most frames one Vorbis packet can produce per channel.
constexpr std::size_t kFrameRoom = 4096;

// An OpenAL buffer's size is an int: a stream that decodes to more is refused rather than grown
// without end (a tiny file of silent packets can decode to an enormous length).
constexpr std::size_t kMaxBytes = INT32_MAX;

struct VorbisCloser {
    void operator()(stb_vorbis* decoder) const { stb_vorbis_close(decoder); }
};

} // namespace

short* LoadOGG(std::FILE* file, int* length, int* channels, int* format, int* hertz) {
    if (!VorbisCommentsFit(file))
        return nullptr;
    // Declared first so that it ends last, after the decoder is closed.
    VorbisHeapScope heap;
    int error = 0;
    std::unique_ptr<stb_vorbis, VorbisCloser> decoder(
        stb_vorbis_open_file(file, 0, &error, nullptr));
    if (!decoder)
        return nullptr;
    stb_vorbis_info info = stb_vorbis_get_info(decoder.get());
    const std::size_t room = std::size_t(info.channels) * kFrameRoom;
    HeapBlock block(room * sizeof(short));
    std::size_t written = 0; // samples, not bytes
    std::size_t frames = 0;
    while (!block.Empty()) {
        std::size_t capacity = block.Capacity() / sizeof(short);
        short* out = reinterpret_cast<short*>(block.Bytes()) + written;
        int got = stb_vorbis_get_frame_short_interleaved(decoder.get(), info.channels, out,
                                                         int(capacity - written));
        if (got == 0)
            break;
        frames += std::size_t(got);
        written += std::size_t(got) * std::size_t(info.channels);
        if (capacity - written < room) {
            std::size_t grown = std::min(block.Capacity() * 2, kMaxBytes);
            if ((grown / sizeof(short)) - written < room || !block.Grow(grown))
                return nullptr;
        }
    }
    if (block.Empty())
        return nullptr;
    *length = int(frames);
    *channels = info.channels;
    *format = 2;
    *hertz = int(info.sample_rate);
    return static_cast<short*>(block.Release());
}
