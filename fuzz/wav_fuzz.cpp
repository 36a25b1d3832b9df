// Fuzz target: any bytes given to the WAV reader decode or are refused, never crash.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "audio/wav_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0; // fmemopen wants a buffer of at least one byte
    std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!file)
        return 0;
    int length = 0, channels = 0, format = 0, hertz = 0;
    short* block = LoadWAV(file, &length, &channels, &format, &hertz);
    if (block) {
        // The block holds at least the frames it claims.
        volatile unsigned char last = 0;
        std::size_t bytes = std::size_t(length) * std::size_t(channels) * std::size_t(format);
        if (bytes > 0)
            last = reinterpret_cast<unsigned char*>(block)[bytes - 1];
        (void)last;
    }
    std::free(block);
    std::fclose(file);
    return 0;
}
