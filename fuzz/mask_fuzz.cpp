// Any bytes given to the mask reader end in a mask or a refusal (an error code, or the stream
// read error of a coverage stream cut inside a run), never a crash, a hang or a huge allocation.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "collision/master_mask.h"
#include "files/stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (bb_stream_Init(), true);
    (void)ready;
    if (size > INT_MAX)
        return 0;
    c_DataBuffer buffer(static_cast<int>(size));
    if (size > 0)
        std::memcpy(buffer.WritePointer(), data, size);
    c_MasterMask mask;
    try {
        if (mask.p_ReadMask(&buffer) != CmskError::kNone)
            return 0;
    } catch (const c_StreamReadError&) {
        return 0;
    }
    if (mask.m_data.size() != static_cast<size_t>(mask.m_width) * mask.m_height)
        std::abort();
    // The decoded mask must be safe to test against itself at any placement.
    mask.p_CollideMask(0, 0, &mask, mask.m_width / 2, -mask.m_height / 2);
    return 0;
}
