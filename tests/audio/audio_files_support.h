// Sound files the audio tests make themselves: WAV bytes chunk by chunk and Ogg Vorbis streams
// encoded with libvorbisenc, plus streams over bytes in memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

struct FreeBlock {
    void operator()(void* block) const { std::free(block); }
};
using SampleBlock = std::unique_ptr<short, FreeBlock>;

// A read-only stream over a copy of the bytes.
FilePtr OpenBytes(const Bytes& bytes);

void WriteFile(const std::string& path, const Bytes& bytes);
Bytes ReadFile(const std::string& path);

// Builds a RIFF/WAVE file chunk by chunk; the RIFF size is filled in by Bytes().
class WavWriter {
public:
    WavWriter& Chunk(const std::string& tag, const Bytes& body);
    // A "fmt " chunk: audio format, channels, rate, bits, and extra bytes after the 16 usual.
    WavWriter& Format(int audioFormat, int channels, int hertz, int bits, int extra = 0);
    WavWriter& Data(const Bytes& samples) { return Chunk("data", samples); }
    // A chunk header whose stated size differs from the body that follows.
    WavWriter& RawChunk(const std::string& tag, std::uint32_t statedSize, const Bytes& body);
    // The zero byte that word-aligns the chunk before it when that is of odd size.
    WavWriter& Pad() {
        m_body.push_back(0);
        return *this;
    }
    Bytes Build() const;

private:
    Bytes m_body;
};

// A standard PCM WAV.
Bytes MakeWav(int channels, int bits, int hertz, const Bytes& samples);

// `count` bytes of a ramp, different at every position.
Bytes Ramp(std::size_t count);

// 16-bit samples of a sine tone at `amplitude` (0..1 of full scale), little-endian,
// `channels` interleaved copies per frame.
Bytes Sine16(int frames, int channels, int hertz, double frequency, double amplitude);

// An Ogg Vorbis stream of a sine tone, `frames` frames long, at `amplitude` of full scale (a
// stream may carry samples far beyond it).
Bytes MakeOgg(int frames, int channels, int hertz, float amplitude = 0.5f);
