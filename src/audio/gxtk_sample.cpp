// Samples hand their OpenAL buffers to the discarded list instead of deleting them.
#include "audio/gxtk_sample.h"

namespace {
std::vector<ALuint> discarded;
}

std::vector<ALuint>& bb_audio_DiscardedBuffers() {
    return discarded;
}

gxtkSample::~gxtkSample() {
    Discard();
}

void gxtkSample::Discard() {
    if (buffer == 0)
        return;
    discarded.push_back(buffer);
    buffer = 0;
}
