// One numbered channel of the audio device: an OpenAL source, obtained on first use, and the
// state the game last gave it.
#pragma once

#include <AL/al.h>

#include <memory>

#include "audio/gxtk_sample.h"

enum gxtkChannelState { CHANNEL_STOPPED = 0, CHANNEL_PLAYING = 1, CHANNEL_PAUSED = 2 };

struct gxtkChannel {
    // The channel's source: generated when first needed, or, when OpenAL has no more, taken
    // from the first stopped sound channel. 0 when neither is possible.
    ALuint AL_Source();
    // The source's own state (AL_PLAYING, AL_PAUSED, AL_STOPPED, ...); 0 without a source.
    ALint SourceState() const;

    ALuint source = 0;
    std::shared_ptr<gxtkSample> sample; // the last played, kept alive while it may play
    int flags = 0;
    int state = CHANNEL_STOPPED;
};
