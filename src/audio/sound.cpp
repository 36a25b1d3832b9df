// c_Sound: wraps a sample and discards it on request.
#include "audio/sound.h"

std::unique_ptr<c_Sound> c_Sound::m_new(std::shared_ptr<gxtkSample> sample) {
    return std::make_unique<c_Sound>(std::move(sample));
}

void c_Sound::p_Discard() {
    if (!m_sample)
        return;
    m_sample->Discard();
    m_sample.reset();
}
