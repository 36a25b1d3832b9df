// gxtkAudio: the audio device over OpenAL. 32 sound channels and a music channel (32), samples
// decoded from WAV and Ogg Vorbis into OpenAL buffers, Ogg Vorbis music decoded as it plays.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <memory>

#include "audio/gxtk_channel.h"
#include "audio/gxtk_sample.h"
#include "audio/music_stream.h"
#include "host/devices.h"
#include "runtime/string.h"

class gxtkAudio : public BBAudioDevice {
public:
    static constexpr int SOUND_CHANNELS = 32;
    static constexpr int MUSIC_CHANNEL = 32;
    static constexpr int CHANNELS = 33;

    // Opens the default OpenAL device (or a generic one) and makes its context current. Without
    // a sound device it says so and every later call does nothing audible.
    gxtkAudio();
    ~gxtkAudio() override;
    gxtkAudio(const gxtkAudio&) = delete;
    gxtkAudio& operator=(const gxtkAudio&) = delete;

    // The one device (null before it is created).
    static gxtkAudio* audio;

    // Pause every playing source while the game is away, and continue them on return; the
    // channels' recorded states do not change, so channels the game paused stay paused.
    void Suspend() override;
    void Resume() override;
    // Refills the streamed music's buffers.
    void Update() override;

    // Main thread. Null when the file cannot be read or decoded.
    virtual std::shared_ptr<gxtkSample> LoadSample(const String& path);
    // Decodes the file into a new buffer held by `sample`; also runs on loader threads.
    virtual bool LoadSample__UNSAFE__(gxtkSample* sample, const String& path);
    // 0, or -1 when the channel can have no source. Any non-zero flags loop the sample.
    virtual int PlaySample(const std::shared_ptr<gxtkSample>& sample, int channel, int flags);
    virtual int StopChannel(int channel);
    virtual int PauseChannel(int channel);
    virtual int ResumeChannel(int channel);
    // 0 stopped (also once a sample has ended by itself), 1 playing, 2 paused.
    virtual int ChannelState(int channel);
    // Volume, rate and pan belong to the channel's source and so last across plays.
    virtual int SetVolume(int channel, float volume);
    virtual int SetPan(int channel, float pan);
    virtual int SetRate(int channel, float rate);
    // Plays the file on the music channel, looping when flags are non-zero; -1 when it fails to
    // load. Ogg Vorbis music is decoded a piece at a time as it plays (Update keeps it fed);
    // music of another format is decoded whole, as a sample.
    virtual int PlayMusic(const String& path, int flags);
    virtual int StopMusic();
    virtual int PauseMusic();
    virtual int ResumeMusic();
    virtual int MusicState();
    virtual int SetMusicVolume(float volume);

    // Detaches buffers from stopped sources and deletes the discarded buffers no source holds.
    void FlushDiscarded();

    ALCdevice* alcDevice = nullptr;
    ALCcontext* alcContext = nullptr;
    gxtkChannel channels[CHANNELS];

    // The music being streamed onto the music channel's source; null otherwise.
    const gxtkMusicStream* MusicStream() const { return music.get(); }

private:
    void OpenDevice();
    // Starts the Ogg Vorbis file streaming on the music channel; false when it cannot.
    bool StreamMusic(const String& path, int flags);
    void EndMusicStream();
    void PumpMusic();

    std::unique_ptr<gxtkMusicStream> music;
};
