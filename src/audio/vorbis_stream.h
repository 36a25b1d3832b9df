// An Ogg Vorbis file decoded a piece at a time from its bytes in memory, for music that plays while
// it decodes instead of being held whole as samples.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

struct stb_vorbis;

class VorbisStream {
public:
    // Null when the bytes are not an Ogg Vorbis stream of one or two channels that the decoder can
    // open within kMaxDecoderBytes. A looping stream starts again from the top at its end.
    static std::unique_ptr<VorbisStream> Open(std::vector<unsigned char> bytes, bool loop);
    ~VorbisStream();
    VorbisStream(const VorbisStream&) = delete;
    VorbisStream& operator=(const VorbisStream&) = delete;

    int Channels() const { return channels; }
    int Hertz() const { return hertz; }
    // Writes up to `frames` frames of interleaved 16-bit samples to `out` and returns how many. A
    // stream that does not loop gives fewer only at its end, then 0 for good; a looping one gives
    // 0 only when a whole pass of it holds no sample.
    int Read(short* out, int frames);
    bool Ended() const { return ended; }

    // The decoder's whole memory: it works inside this block and never takes from the heap, so
    // a stranger's file costs at most this much, and the stream outlives any heap scope.
    static constexpr std::size_t kMaxDecoderBytes = 8u << 20;

private:
    VorbisStream(std::vector<unsigned char> bytes, bool loop);
    // Opens the decoder on the bytes from their start, growing the block as the stream's
    // set-up asks; false when it cannot.
    bool Restart();
    void Close();

    std::vector<unsigned char> bytes;
    std::vector<char> arena;
    stb_vorbis* decoder = nullptr;
    bool loop;
    bool ended = false;
    int channels = 0;
    int hertz = 0;
};
