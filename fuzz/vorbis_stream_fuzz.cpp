// Fuzz target: any bytes given to the streaming music decoder are refused or give pieces, and a
// looping stream's reads end, never crash or spin.
#include <cstdint>
#include <vector>

#include "audio/vorbis_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto stream = VorbisStream::Open(std::vector<unsigned char>(data, data + size), true);
    if (!stream)
        return 0;
    std::vector<short> piece(4096 * 2);
    for (int read = 0; read < 16 && !stream->Ended(); ++read)
        stream->Read(piece.data(), 4096);
    return 0;
}
