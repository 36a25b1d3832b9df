// A channel's OpenAL source: generated on first use, taken over from a stopped sound channel when
// OpenAL runs out.
#include "audio/gxtk_channel.h"

#include "audio/gxtk_audio.h"

ALuint gxtkChannel::AL_Source() {
    if (source)
        return source;
    alGetError();
    ALuint generated = 0;
    alGenSources(1, &generated);
    if (alGetError() == AL_NO_ERROR && generated)
        return source = generated;
    gxtkAudio* device = gxtkAudio::audio;
    if (!device)
        return 0;
    for (int i = 0; i < gxtkAudio::SOUND_CHANNELS; ++i) {
        gxtkChannel& other = device->channels[i];
        if (other.source && device->ChannelState(i) == CHANNEL_STOPPED) {
            source = other.source;
            other.source = 0;
            return source;
        }
    }
    return 0;
}

ALint gxtkChannel::SourceState() const {
    ALint value = 0;
    if (source)
        alGetSourcei(source, AL_SOURCE_STATE, &value);
    return value;
}
