// gxtkAudio: the OpenAL device and context, the channel operations, sample loading and the deferred
// deletion of discarded buffers.
#include "audio/gxtk_audio.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#if __has_include(<AL/efx.h>)
#include <AL/efx.h>
#endif
#ifndef ALC_MAX_AUXILIARY_SENDS
#define ALC_MAX_AUXILIARY_SENDS 0x20003 // the effects extension's, for headers without it
#endif

#include "audio/audio.h"
#include "host/bb_game.h"
#include "host/platform.h"
#include "runtime/errors.h"

gxtkAudio* gxtkAudio::audio = nullptr;

namespace {

// The OpenAL format of decoded samples; 0 for a shape OpenAL has no format for.
ALenum AlFormat(int bytesPerSample, int channels) {
    if (bytesPerSample == 1 && channels == 1)
        return AL_FORMAT_MONO8;
    if (bytesPerSample == 1 && channels == 2)
        return AL_FORMAT_STEREO8;
    if (bytesPerSample == 2 && channels == 1)
        return AL_FORMAT_MONO16;
    if (bytesPerSample == 2 && channels == 2)
        return AL_FORMAT_STEREO16;
    return 0;
}

struct FreeBlock {
    void operator()(void* block) const { std::free(block); }
};

} // namespace

gxtkAudio::gxtkAudio() {
    audio = this;
    OpenDevice();
    // Positions only pan; distance never attenuates.
    alDistanceModel(AL_NONE);
    channels[MUSIC_CHANNEL].AL_Source();
}

void gxtkAudio::OpenDevice() {
    alcDevice = alcOpenDevice(nullptr);
    if (!alcDevice)
        alcDevice = alcOpenDevice("Generic Hardware");
    if (!alcDevice)
        alcDevice = alcOpenDevice("Generic Software");
    if (!alcDevice) {
        bbPrint(u"OpenAl error: alcOpenDevice failed");
        return;
    }
    // The game sends nothing to effects: without auxiliary sends OpenAL Soft keeps less for each
    // of its voices. A library without effects takes no such attribute. Asking for no more
    // sources than the channels use (ALC_MONO_SOURCES) would save nothing: OpenAL Soft raises a
    // smaller count to 256 and makes a voice for each with every context, 7.6 MB whatever is asked.
    const ALCint noSends[] = {ALC_MAX_AUXILIARY_SENDS, 0, 0};
    const bool effects = alcIsExtensionPresent(alcDevice, "ALC_EXT_EFX") == ALC_TRUE;
    alcContext = alcCreateContext(alcDevice, effects ? noSends : nullptr);
    if (!alcContext) {
        bbPrint(u"OpenAl error: alcCreateContext failed");
        return;
    }
    if (!alcMakeContextCurrent(alcContext))
        bbPrint(u"OpenAl error: alcMakeContextCurrent failed");
}

// The game keeps its device for the whole run; tearing down is for tests and tools that open more
// than one in a process. Samples still held elsewhere outlive their buffers here.
gxtkAudio::~gxtkAudio() {
    EndMusicStream();
    for (gxtkChannel& channel : channels) {
        if (channel.source) {
            alSourceStop(channel.source);
            alSourcei(channel.source, AL_BUFFER, 0);
        }
        channel.sample.reset();
    }
    for (ALuint buffer : bb_audio_DiscardedBuffers())
        alDeleteBuffers(1, &buffer);
    for (gxtkChannel& channel : channels)
        if (channel.source)
            alDeleteSources(1, &channel.source);
    if (alcContext) {
        if (alcGetCurrentContext() == alcContext)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(alcContext);
    }
    if (alcDevice)
        alcCloseDevice(alcDevice);
    bb_audio_ForgetDeviceBuffers();
    if (audio == this)
        audio = nullptr;
    if (bb_audio_device == this)
        bb_audio_device = nullptr;
}

void gxtkAudio::Suspend() {
    for (gxtkChannel& channel : channels)
        if (channel.state == CHANNEL_PLAYING && channel.SourceState() == AL_PLAYING)
            alSourcePause(channel.source);
}

void gxtkAudio::Resume() {
    for (gxtkChannel& channel : channels)
        if (channel.state == CHANNEL_PLAYING && channel.SourceState() == AL_PAUSED)
            alSourcePlay(channel.source);
}

void gxtkAudio::Update() {
    PumpMusic();
}

void gxtkAudio::PumpMusic() {
    if (music)
        music->Pump();
}

void gxtkAudio::EndMusicStream() {
    music.reset();
}

std::shared_ptr<gxtkSample> gxtkAudio::LoadSample(const String& path) {
    FlushDiscarded();
    auto sample = std::make_shared<gxtkSample>();
    if (!LoadSample__UNSAFE__(sample.get(), path))
        return nullptr;
    return sample;
}

bool gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, const String& path) {
    if (!BBGame::_game)
        return false;
    int length = 0, channelCount = 0, format = 0, hertz = 0;
    std::unique_ptr<short, FreeBlock> data(
        BBGame::_game->LoadAudioData(path, &length, &channelCount, &format, &hertz));
    if (!data)
        return false;
    // The decoders make only 8- and 16-bit mono and stereo; anything else has no OpenAL format.
    ALenum alFormat = AlFormat(format, channelCount);
    long long bytes = 1LL * format * channelCount * length;
    if (alFormat == 0 || length < 0 || bytes > INT_MAX)
        return false;
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, alFormat, data.get(), ALsizei(bytes), hertz);
    sample->SetBuffer(buffer);
    return true;
}

int gxtkAudio::PlaySample(const std::shared_ptr<gxtkSample>& sample, int channel, int flags) {
    FlushDiscarded();
    gxtkChannel& chan = channels[channel];
    ALuint source = chan.AL_Source();
    if (!source)
        return -1;
    if (channel == MUSIC_CHANNEL)
        EndMusicStream();
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, ALint(sample ? sample->buffer : 0));
    alSourcei(source, AL_LOOPING, flags != 0 ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    chan.sample = sample;
    chan.flags = flags;
    chan.state = CHANNEL_PLAYING;
    return 0;
}

int gxtkAudio::StopChannel(int channel) {
    gxtkChannel& chan = channels[channel];
    if (chan.state != CHANNEL_STOPPED) {
        alSourceStop(chan.source);
        chan.state = CHANNEL_STOPPED;
    }
    if (channel == MUSIC_CHANNEL)
        EndMusicStream();
    return 0;
}

int gxtkAudio::PauseChannel(int channel) {
    // Streamed music that ran dry between updates is still playing, not at its end.
    if (channel == MUSIC_CHANNEL)
        PumpMusic();
    gxtkChannel& chan = channels[channel];
    if (chan.state != CHANNEL_PLAYING)
        return 0;
    if (chan.SourceState() == AL_STOPPED) {
        chan.state = CHANNEL_STOPPED;
    } else {
        alSourcePause(chan.source);
        chan.state = CHANNEL_PAUSED;
    }
    return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
    gxtkChannel& chan = channels[channel];
    if (chan.state == CHANNEL_PAUSED) {
        alSourcePlay(chan.source);
        chan.state = CHANNEL_PLAYING;
    }
    return 0;
}

int gxtkAudio::ChannelState(int channel) {
    if (channel == MUSIC_CHANNEL)
        PumpMusic();
    gxtkChannel& chan = channels[channel];
    if (chan.state == CHANNEL_PLAYING && chan.SourceState() == AL_STOPPED)
        chan.state = CHANNEL_STOPPED;
    return chan.state;
}

int gxtkAudio::SetVolume(int channel, float volume) {
    if (ALuint source = channels[channel].AL_Source())
        alSourcef(source, AL_GAIN, volume);
    return 0;
}

int gxtkAudio::SetPan(int channel, float pan) {
    // An angle in radians; with no distance model the position only moves the sound between the
    // speakers.
    if (ALuint source = channels[channel].AL_Source())
        alSource3f(source, AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
    return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
    if (ALuint source = channels[channel].AL_Source())
        alSourcef(source, AL_PITCH, rate);
    return 0;
}

int gxtkAudio::PlayMusic(const String& path, int flags) {
    StopMusic();
    if (bb_lower(bb_platform_SoundFile(path)).ends_with(u".ogg"))
        return StreamMusic(path, flags) ? 0 : -1;
    std::shared_ptr<gxtkSample> whole = LoadSample(path);
    if (!whole)
        return -1;
    PlaySample(whole, MUSIC_CHANNEL, flags);
    return 0;
}

bool gxtkAudio::StreamMusic(const String& path, int flags) {
    gxtkChannel& chan = channels[MUSIC_CHANNEL];
    if (!BBGame::_game || !chan.AL_Source())
        return false;
    int length = 0;
    std::unique_ptr<unsigned char, FreeBlock> data(
        BBGame::_game->LoadData(bb_platform_SoundFile(path), &length));
    if (!data)
        return false;
    std::vector<unsigned char> bytes(data.get(), data.get() + length);
    data.reset();
    alSourceStop(chan.source);
    alSourcei(chan.source, AL_BUFFER, 0);
    chan.sample.reset();
    music = gxtkMusicStream::Start(VorbisStream::Open(std::move(bytes), flags != 0), chan.source);
    if (!music)
        return false;
    chan.flags = flags;
    chan.state = CHANNEL_PLAYING;
    return true;
}

int gxtkAudio::StopMusic() {
    return StopChannel(MUSIC_CHANNEL);
}
int gxtkAudio::PauseMusic() {
    return PauseChannel(MUSIC_CHANNEL);
}
int gxtkAudio::ResumeMusic() {
    return ResumeChannel(MUSIC_CHANNEL);
}
int gxtkAudio::MusicState() {
    return ChannelState(MUSIC_CHANNEL);
}
int gxtkAudio::SetMusicVolume(float volume) {
    return SetVolume(MUSIC_CHANNEL, volume);
}

void gxtkAudio::FlushDiscarded() {
    std::vector<ALuint>& discarded = bb_audio_DiscardedBuffers();
    if (discarded.empty())
        return;
    // A stopped source needs no buffer: its next play attaches one. Any stopped source lets go,
    // also one whose channel already counts as stopped, or its buffer would be held until that
    // channel happens to play again.
    // The streamed music's queue belongs to its stream, stopped between two pieces or not.
    for (gxtkChannel& channel : channels)
        if (channel.source && channel.SourceState() == AL_STOPPED &&
            !(music && &channel == &channels[MUSIC_CHANNEL]))
            alSourcei(channel.source, AL_BUFFER, 0);
    std::erase_if(discarded, [](ALuint buffer) {
        alGetError();
        alDeleteBuffers(1, &buffer);
        return alGetError() == AL_NO_ERROR;
    });
}
