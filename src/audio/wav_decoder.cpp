// The RIFF/WAVE reader: "fmt " must come first, foreign chunks are skipped with their pad bytes,
// the first complete "data" chunk is the sound.
#include "audio/wav_decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "audio/heap_block.h"

namespace {

// Reads and drops buffered input in pieces, so that neither a skipped chunk nor a data chunk
// ever costs more memory than the bytes the file really holds.
constexpr std::size_t kPiece = 64 * 1024;

bool ReadBytes(std::FILE* file, void* out, std::size_t count) {
    return std::fread(out, 1, count, file) == count;
}

// Little-endian 32-bit value; a failed read gives 0xFFFFFFFF (-1).
std::uint32_t Read32(std::FILE* file) {
    unsigned char b[4];
    if (!ReadBytes(file, b, 4))
        return 0xFFFFFFFFu;
    return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
}

// Little-endian 16-bit value; false on a short read.
bool Read16(std::FILE* file, int* value) {
    unsigned char b[2];
    if (!ReadBytes(file, b, 2))
        return false;
    *value = b[0] | (b[1] << 8);
    return true;
}

bool ReadTag(std::FILE* file, char tag[4]) {
    return ReadBytes(file, tag, 4);
}

bool ExpectTag(std::FILE* file, const char* expected) {
    char tag[4];
    return ReadTag(file, tag) && std::memcmp(tag, expected, 4) == 0;
}

void Skip(std::FILE* file, std::uint32_t count) {
    unsigned char sink[4096];
    while (count > 0) {
        std::size_t piece = std::min<std::size_t>(count, sizeof sink);
        if (!ReadBytes(file, sink, piece))
            return;
        count -= std::uint32_t(piece);
    }
}

// Chunks are word-aligned: one of odd size is followed by a pad byte, which some writers leave
// out. A chunk's tag is printable text, so a byte that cannot begin one is the pad.
void SkipPad(std::FILE* file, std::uint32_t chunkSize) {
    if (chunkSize % 2 == 0)
        return;
    const int next = std::fgetc(file);
    if (next >= 0x20 && next <= 0x7E)
        std::ungetc(next, file);
}

// Reads exactly `size` bytes into a new block, growing it as the bytes arrive: a stated size
// larger than what the file holds is refused without ever allocating that size.
void* ReadData(std::FILE* file, std::uint32_t size) {
    HeapBlock block(std::min<std::size_t>(size, kPiece));
    std::size_t filled = 0;
    while (!block.Empty() && filled < size) {
        std::size_t want = std::min<std::size_t>(size - filled, kPiece);
        if (filled + want > block.Capacity() &&
            !block.Grow(std::min<std::size_t>(size, std::max(block.Capacity() * 2, filled + want))))
            return nullptr;
        if (!ReadBytes(file, block.Bytes() + filled, want))
            return nullptr;
        filled += want;
    }
    return block.Release();
}

struct WavFormat {
    int channels = 0;
    int format = 0;
    int hertz = 0;
};

// "RIFF", its size, "WAVE", then the "fmt " chunk, which must come first.
bool ReadHeader(std::FILE* file, WavFormat* out) {
    if (!ExpectTag(file, "RIFF"))
        return false;
    Read32(file);
    if (!ExpectTag(file, "WAVE") || !ExpectTag(file, "fmt "))
        return false;
    std::uint32_t fmtSize = Read32(file);
    int audioFormat = 0, channels = 0, blockAlign = 0, bits = 0;
    if (!Read16(file, &audioFormat) || audioFormat != 1)
        return false;
    if (!Read16(file, &channels))
        return false;
    std::uint32_t hertz = Read32(file);
    Read32(file); // byte rate
    if (!Read16(file, &blockAlign) || !Read16(file, &bits))
        return false;
    // A frame of zero bytes has no length; refuse rather than divide by it.
    if (channels < 1 || bits < 8)
        return false;
    if (fmtSize > 16) {
        Skip(file, fmtSize - 16);
        SkipPad(file, fmtSize);
    }
    *out = WavFormat{channels, bits >> 3, int(hertz)};
    return true;
}

} // namespace

short* LoadWAV(std::FILE* file, int* length, int* channels, int* format, int* hertz) {
    WavFormat shape;
    if (!ReadHeader(file, &shape))
        return nullptr;
    for (;;) {
        char tag[4] = {};
        ReadTag(file, tag);
        if (std::feof(file) || std::ferror(file))
            return nullptr;
        std::uint32_t size = Read32(file);
        if (std::memcmp(tag, "data", 4) != 0) {
            Skip(file, size);
            SkipPad(file, size);
            continue;
        }
        // Lengths are ints everywhere above the decoder.
        if (size > std::uint32_t(INT32_MAX))
            return nullptr;
        void* data = ReadData(file, size);
        if (!data)
            continue; // a truncated data chunk: the walk now meets the end of the file
        *length = int(size / std::uint32_t(shape.channels * shape.format));
        *channels = shape.channels;
        *format = shape.format;
        *hertz = shape.hertz;
        return static_cast<short*>(data);
    }
}
