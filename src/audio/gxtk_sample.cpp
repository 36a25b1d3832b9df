// Samples hand their OpenAL buffers to the discarded list instead of deleting them.
#include "audio/gxtk_sample.h"

#include <atomic>

namespace {
std::vector<ALuint> discarded;
// Audio devices closed so far. Loader threads read it as they fill a sample; a device closes
// only once its loaders are done.
std::atomic<unsigned> closedDevices{0};
} // namespace

std::vector<ALuint>& bb_audio_DiscardedBuffers() {
    return discarded;
}

void bb_audio_ForgetDeviceBuffers() {
    discarded.clear();
    closedDevices.fetch_add(1);
}

gxtkSample::gxtkSample(ALuint buffer) : buffer(buffer), m_device(closedDevices.load()) {}

gxtkSample::~gxtkSample() {
    Discard();
}

void gxtkSample::SetBuffer(ALuint id) {
    buffer = id;
    m_device = closedDevices.load();
}

void gxtkSample::Discard() {
    if (buffer == 0)
        return;
    if (m_device == closedDevices.load())
        discarded.push_back(buffer);
    buffer = 0;
}
