// The piecewise Vorbis decoder: stb_vorbis over bytes in memory, in a block of its own, opened
// again from the top where a looping stream ends.
#include "audio/vorbis_stream.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "audio/vorbis_comment_check.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

namespace {

// Enough for the set-up of a usual stream (about 170 KB for the game's music); larger ones double
// it up to the limit.
constexpr std::size_t kFirstDecoderBytes = 256u << 10;

// Each new pass of a looping stream parses its set-up again. A stream of almost no samples would
// make one read start over thousands of times, so a read starts over at most this often and
// gives back what it has.
constexpr int kRestartsPerRead = 2;

// The look at the comment header that the whole-file decoder takes, over the bytes in memory.
bool CommentsFit(std::vector<unsigned char>& bytes) {
    std::FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
    if (!file)
        return false;
    const bool fits = VorbisCommentsFit(file);
    std::fclose(file);
    return fits;
}

} // namespace

VorbisStream::VorbisStream(std::vector<unsigned char> data, bool looping)
    : bytes(std::move(data)), loop(looping) {}

VorbisStream::~VorbisStream() {
    Close();
}

std::unique_ptr<VorbisStream> VorbisStream::Open(std::vector<unsigned char> bytes, bool loop) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT32_MAX) || !CommentsFit(bytes))
        return nullptr;
    std::unique_ptr<VorbisStream> stream(new VorbisStream(std::move(bytes), loop));
    if (!stream->Restart())
        return nullptr;
    const stb_vorbis_info info = stb_vorbis_get_info(stream->decoder);
    if (info.channels < 1 || info.channels > 2 || info.sample_rate < 1)
        return nullptr;
    stream->channels = info.channels;
    stream->hertz = static_cast<int>(info.sample_rate);
    return stream;
}

void VorbisStream::Close() {
    if (decoder)
        stb_vorbis_close(decoder);
    decoder = nullptr;
}

bool VorbisStream::Restart() {
    Close();
    std::size_t size = arena.empty() ? kFirstDecoderBytes : arena.size();
    for (;;) {
        arena.resize(size);
        stb_vorbis_alloc block{arena.data(), static_cast<int>(arena.size())};
        int error = 0;
        decoder =
            stb_vorbis_open_memory(bytes.data(), static_cast<int>(bytes.size()), &error, &block);
        if (decoder)
            return true;
        if (error != VORBIS_outofmem || size >= kMaxDecoderBytes)
            return false;
        size *= 2;
    }
}

int VorbisStream::Read(short* out, int frames) {
    int got = 0;
    int restarts = 0;
    bool freshPass = false;
    while (got < frames && !ended) {
        const int read = stb_vorbis_get_samples_short_interleaved(
            decoder, channels, out + static_cast<std::ptrdiff_t>(got) * channels,
            (frames - got) * channels);
        if (read > 0) {
            got += read;
            freshPass = false;
            continue;
        }
        // A pass that ends before its first sample holds none: looping it would never end.
        if (!loop || freshPass || !Restart()) {
            ended = true;
            break;
        }
        freshPass = true;
        if (++restarts > kRestartsPerRead)
            break;
    }
    return got;
}
