// c_Sound: the game's handle on a loaded sound effect.
#pragma once

#include <memory>

#include "audio/gxtk_sample.h"

class c_Sound {
public:
    // The sample is shared with the channels that play it, so that it outlives its playing.
    explicit c_Sound(std::shared_ptr<gxtkSample> sample) : m_sample(std::move(sample)) {}
    static std::unique_ptr<c_Sound> m_new(std::shared_ptr<gxtkSample> sample);

    // Gives the sample's buffer up for deletion; the sound then plays nothing.
    void p_Discard();

    std::shared_ptr<gxtkSample> m_sample; // null once discarded
};
