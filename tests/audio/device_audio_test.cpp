// The audio device over OpenAL Soft's silent "null" output: channel states, suspend and resume,
// source settings, source take-over, the deferred deletion of buffers, music and the module
// functions, and a machine with no sound device at all.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "audio/audio.h"
#include "audio/audio_device_support.h"
#include "audio/audio_files_support.h"

namespace {

// Sound files in a scratch folder, the host that loads them, and an open device.
struct Rig {
    Rig() {
        WriteFile(beep, MakeWav(1, 16, 22050, Sine16(1100, 1, 22050, 880, 0.3))); // 50 ms
        WriteFile(tone, MakeWav(2, 8, 11025, Ramp(4000)));
        WriteFile(music, MakeOgg(8000, 2, 22050));
    }
    std::shared_ptr<gxtkSample> Load(const std::string& path) {
        return device.LoadSample(bb_str(path));
    }

    ScratchDir dir;
    const std::string beep = dir.File("beep.wav");
    const std::string tone = dir.File("TONE.WAV");
    const std::string music = dir.File("music.ogg");
    AudioTestHost host;
    gxtkAudio device;
};

const std::string kNull = "null";

ALint SourceInt(const gxtkAudio& device, int channel, ALenum param) {
    ALint value = -1;
    alGetSourcei(device.channels[channel].source, param, &value);
    return value;
}

float SourceFloat(const gxtkAudio& device, int channel, ALenum param) {
    float value = -1;
    alGetSourcef(device.channels[channel].source, param, &value);
    return value;
}

bool IsDiscarded(ALuint buffer) {
    for (ALuint id : bb_audio_DiscardedBuffers())
        if (id == buffer)
            return true;
    return false;
}

} // namespace

TEST(AudioDevice, OpensWithItsMusicChannelReady) {
    RunWithOpenAl(kNull, "", [] {
        Rig rig;
        EXPECT_EQ(gxtkAudio::audio, &rig.device);
        EXPECT_NE(rig.device.alcDevice, nullptr);
        EXPECT_NE(rig.device.alcContext, nullptr);
        EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_NONE);
        EXPECT_NE(rig.device.channels[gxtkAudio::MUSIC_CHANNEL].source, 0u);
        for (int i = 0; i < gxtkAudio::SOUND_CHANNELS; ++i)
            EXPECT_EQ(rig.device.channels[i].source, 0u) << i;
    });
}

TEST(AudioDevice, LoadsSamplesIntoBuffersOfTheirShape) {
    RunWithOpenAl(kNull, "", [] {
        Rig rig;
        struct Case {
            std::string path;
            int bits, channels, bytes, frequency;
        };
        const Case cases[] = {
            {rig.beep, 16, 1, 2200, 22050},
            {rig.tone, 8, 2, 4000, 11025},
            {rig.music, 16, 2, 8000 * 4, 22050},
        };
        for (const Case& c : cases) {
            std::shared_ptr<gxtkSample> sample = rig.Load(c.path);
            ASSERT_TRUE(sample) << c.path;
            ALint value = 0;
            alGetBufferi(sample->buffer, AL_BITS, &value);
            EXPECT_EQ(value, c.bits) << c.path;
            alGetBufferi(sample->buffer, AL_CHANNELS, &value);
            EXPECT_EQ(value, c.channels) << c.path;
            alGetBufferi(sample->buffer, AL_SIZE, &value);
            EXPECT_EQ(value, c.bytes) << c.path;
            alGetBufferi(sample->buffer, AL_FREQUENCY, &value);
            EXPECT_EQ(value, c.frequency) << c.path;
        }
        EXPECT_FALSE(rig.Load(rig.dir.File("missing.wav")));
        WriteFile(rig.dir.File("beep.mp3"), MakeWav(1, 8, 8000, Ramp(10)));
        EXPECT_FALSE(rig.Load(rig.dir.File("beep.mp3")));
        WriteFile(rig.dir.File("quad.wav"), MakeWav(4, 16, 8000, Ramp(64)));
        EXPECT_FALSE(rig.Load(rig.dir.File("quad.wav"))); // OpenAL has no such format
    });
}

TEST(AudioDevice, ChannelStatesFollowPlayPauseResumeStopAndTheEnd) {
    RunWithOpenAl(kNull, "", [] {
        Rig rig;
        gxtkAudio& audio = rig.device;
        auto beep = rig.Load(rig.beep), tone = rig.Load(rig.tone);

        ASSERT_EQ(audio.PlaySample(tone, 3, 1), 0);
        EXPECT_EQ(audio.ChannelState(3), CHANNEL_PLAYING);
        EXPECT_EQ(SourceState(audio, 3), AL_PLAYING);
        EXPECT_EQ(SourceInt(audio, 3, AL_LOOPING), AL_TRUE);
        audio.PauseChannel(3);
        EXPECT_EQ(audio.ChannelState(3), CHANNEL_PAUSED);
        EXPECT_EQ(SourceState(audio, 3), AL_PAUSED);
        audio.PauseChannel(3);
        EXPECT_EQ(audio.ChannelState(3), CHANNEL_PAUSED);
        audio.ResumeChannel(3);
        EXPECT_EQ(audio.ChannelState(3), CHANNEL_PLAYING);
        EXPECT_EQ(SourceState(audio, 3), AL_PLAYING);
        audio.StopChannel(3);
        EXPECT_EQ(audio.ChannelState(3), CHANNEL_STOPPED);
        EXPECT_EQ(SourceState(audio, 3), AL_STOPPED);
        audio.ResumeChannel(3);
        EXPECT_EQ(audio.ChannelState(3), CHANNEL_STOPPED);

        // A sample played once ends by itself and the channel then reads as stopped.
        ASSERT_EQ(audio.PlaySample(beep, 4, 0), 0);
        EXPECT_EQ(SourceInt(audio, 4, AL_LOOPING), AL_FALSE);
        EXPECT_EQ(WaitForChannelState(audio, 4, CHANNEL_STOPPED), CHANNEL_STOPPED);

        // Pausing a channel whose sample has just ended stops it instead.
        audio.PlaySample(beep, 5, 0);
        ASSERT_EQ(WaitForSourceState(audio, 5, AL_STOPPED), AL_STOPPED);
        EXPECT_EQ(audio.channels[5].state, CHANNEL_PLAYING);
        audio.PauseChannel(5);
        EXPECT_EQ(audio.channels[5].state, CHANNEL_STOPPED);

        // Playing on a busy channel replaces its sound from the start.
        audio.PlaySample(tone, 6, 1);
        audio.PauseChannel(6);
        audio.PlaySample(beep, 6, 0);
        EXPECT_EQ(audio.ChannelState(6), CHANNEL_PLAYING);
        EXPECT_EQ(SourceInt(audio, 6, AL_BUFFER), ALint(beep->buffer));
        EXPECT_EQ(SourceInt(audio, 6, AL_LOOPING), AL_FALSE);
        EXPECT_EQ(audio.channels[6].sample, beep);
    });
}

TEST(AudioDevice, SuspendAndResumeLeaveGamePausedChannelsPaused) {
    RunWithOpenAl(kNull, "", [] {
        Rig rig;
        gxtkAudio& audio = rig.device;
        auto tone = rig.Load(rig.tone);
        audio.PlaySample(tone, 0, 1);
        audio.PlaySample(tone, 1, 1);
        audio.PauseChannel(1);
        ASSERT_EQ(audio.PlayMusic(bb_str(rig.music), 1), 0);

        audio.Suspend();
        for (int channel : {0, gxtkAudio::MUSIC_CHANNEL}) {
            EXPECT_EQ(SourceState(audio, channel), AL_PAUSED) << channel;
            EXPECT_EQ(audio.ChannelState(channel), CHANNEL_PLAYING) << channel;
        }
        EXPECT_EQ(audio.ChannelState(1), CHANNEL_PAUSED);

        audio.Resume();
        EXPECT_EQ(SourceState(audio, 0), AL_PLAYING);
        EXPECT_EQ(SourceState(audio, gxtkAudio::MUSIC_CHANNEL), AL_PLAYING);
        EXPECT_EQ(SourceState(audio, 1), AL_PAUSED);
        EXPECT_EQ(audio.ChannelState(1), CHANNEL_PAUSED);
    });
}

TEST(AudioDevice, VolumeRateAndPanBelongToTheChannelFromTheStart) {
    RunWithOpenAl(kNull, "", [] {
        Rig rig;
        gxtkAudio& audio = rig.device;
        // Setting a volume gives the channel its source before anything has played on it.
        audio.SetVolume(9, 0.25f);
        ASSERT_NE(audio.channels[9].source, 0u);
        audio.SetRate(9, 1.5f);
        audio.SetPan(9, std::numbers::pi_v<float> / 2);
        auto beep = rig.Load(rig.beep);
        audio.PlaySample(beep, 9, 0);
        audio.PlaySample(beep, 9, 0);
        EXPECT_FLOAT_EQ(SourceFloat(audio, 9, AL_GAIN), 0.25f);
        EXPECT_FLOAT_EQ(SourceFloat(audio, 9, AL_PITCH), 1.5f);
        float position[3] = {};
        alGetSourcefv(audio.channels[9].source, AL_POSITION, position);
        EXPECT_NEAR(position[0], 1.0f, 1e-6);
        EXPECT_NEAR(position[1], 0.0f, 1e-6);
        EXPECT_NEAR(position[2], 0.0f, 1e-6);
        audio.SetMusicVolume(0.5f);
        EXPECT_FLOAT_EQ(SourceFloat(audio, gxtkAudio::MUSIC_CHANNEL, AL_GAIN), 0.5f);
    });
}

TEST(AudioDevice, StreamsOggMusicOnItsOwnChannel) {
    RunWithOpenAl(kNull, "", [] {
        Rig rig;
        gxtkAudio& audio = rig.device;
        const int music = gxtkAudio::MUSIC_CHANNEL;
        ASSERT_EQ(audio.PlayMusic(bb_str(rig.music), 1), 0);
        EXPECT_EQ(audio.MusicState(), CHANNEL_PLAYING);
        // Pieces take turns on the source; the stream, not OpenAL, does the looping.
        ASSERT_TRUE(audio.MusicStream());
        EXPECT_EQ(audio.channels[music].sample, nullptr);
        EXPECT_EQ(SourceInt(audio, music, AL_SOURCE_TYPE), AL_STREAMING);
        EXPECT_EQ(SourceInt(audio, music, AL_LOOPING), AL_FALSE);
        EXPECT_EQ(SourceInt(audio, music, AL_BUFFERS_QUEUED), gxtkMusicStream::kBuffers);
        audio.SetMusicVolume(0.25f);
        EXPECT_FLOAT_EQ(SourceFloat(audio, music, AL_GAIN), 0.25f);
        audio.PauseMusic();
        audio.Update();
        EXPECT_EQ(audio.MusicState(), CHANNEL_PAUSED);
        EXPECT_EQ(SourceState(audio, music), AL_PAUSED);
        audio.ResumeMusic();
        EXPECT_EQ(audio.MusicState(), CHANNEL_PLAYING);
        audio.StopMusic();
        EXPECT_EQ(audio.MusicState(), CHANNEL_STOPPED);
        EXPECT_FALSE(audio.MusicStream());
        EXPECT_EQ(SourceInt(audio, music, AL_BUFFERS_QUEUED), 0);

        // Music of another format is played whole, looped by OpenAL, and gives way to a stream.
        ASSERT_EQ(audio.PlayMusic(bb_str(rig.tone), 1), 0);
        EXPECT_FALSE(audio.MusicStream());
        EXPECT_EQ(SourceInt(audio, music, AL_LOOPING), AL_TRUE);
        const ALuint whole = audio.channels[music].sample->buffer;
        ASSERT_EQ(audio.PlayMusic(bb_str(rig.music), 0), 0);
        EXPECT_TRUE(IsDiscarded(whole));
        audio.FlushDiscarded();
        EXPECT_FALSE(alIsBuffer(whole));
        EXPECT_TRUE(audio.MusicStream());

        EXPECT_EQ(audio.PlayMusic(bb_str(rig.dir.File("missing.ogg")), 1), -1);
        EXPECT_EQ(audio.MusicState(), CHANNEL_STOPPED);
        EXPECT_FALSE(audio.MusicStream());
        WriteFile(rig.dir.File("noise.ogg"), Ramp(3000));
        EXPECT_EQ(audio.PlayMusic(bb_str(rig.dir.File("noise.ogg")), 1), -1);
        EXPECT_EQ(audio.MusicState(), CHANNEL_STOPPED);
    });
}

TEST(AudioDevice, StreamedMusicEndsOnceUnlessItLoops) {
    RunWithOpenAl(kNull, "", [] {
        Rig rig;
        gxtkAudio& audio = rig.device;
        const std::string shortMusic = rig.dir.File("short.ogg");
        WriteFile(shortMusic, MakeOgg(2205, 1, 22050)); // 0.1 s, less than one piece
        // Looping, the first pieces are already the stream over and over.
        ASSERT_EQ(audio.PlayMusic(bb_str(shortMusic), 1), 0);
        EXPECT_EQ(SourceInt(audio, gxtkAudio::MUSIC_CHANNEL, AL_BUFFERS_QUEUED),
                  gxtkMusicStream::kBuffers);
        // Once, it is one short piece that plays out and leaves the channel stopped.
        ASSERT_EQ(audio.PlayMusic(bb_str(shortMusic), 0), 0);
        EXPECT_EQ(SourceInt(audio, gxtkAudio::MUSIC_CHANNEL, AL_BUFFERS_QUEUED), 1);
        EXPECT_EQ(WaitForChannelState(audio, gxtkAudio::MUSIC_CHANNEL, CHANNEL_STOPPED),
                  CHANNEL_STOPPED);
    });
}

TEST(AudioDevice, TakesOverTheSourceOfAStoppedChannelWhenOpenAlHasNoMore) {
    // Three sources: one for the music, two for the sound channels.
    RunWithOpenAl(kNull, "[general]\nsources=3\n", [] {
        Rig rig;
        gxtkAudio& audio = rig.device;
        auto tone = rig.Load(rig.tone);
        ASSERT_EQ(audio.PlaySample(tone, 0, 1), 0);
        ASSERT_EQ(audio.PlaySample(tone, 1, 1), 0);
        // Both busy: nothing to take, nothing plays.
        EXPECT_EQ(audio.PlaySample(tone, 2, 1), -1);
        EXPECT_EQ(audio.ChannelState(2), CHANNEL_STOPPED);
        audio.SetVolume(3, 0.5f); // no source to set it on, and no harm done
        EXPECT_EQ(audio.channels[3].source, 0u);

        audio.PauseChannel(1); // paused is not stopped
        EXPECT_EQ(audio.PlaySample(tone, 2, 1), -1);
        const ALuint first = audio.channels[0].source;
        audio.StopChannel(0);
        ASSERT_EQ(audio.PlaySample(tone, 2, 1), 0);
        EXPECT_EQ(audio.channels[2].source, first);
        EXPECT_EQ(audio.channels[0].source, 0u);
        EXPECT_EQ(audio.ChannelState(2), CHANNEL_PLAYING);
        EXPECT_EQ(audio.ChannelState(1), CHANNEL_PAUSED);
    });
}

TEST(AudioDevice, KeepsDiscardedBuffersUntilTheirSourceLetsGo) {
    RunWithOpenAl(kNull, "", [] {
        Rig rig;
        gxtkAudio& audio = rig.device;
        c_Sound sound(rig.Load(rig.tone));
        const ALuint buffer = sound.m_sample->buffer;
        audio.PlaySample(sound.m_sample, 0, 1);
        sound.p_Discard();
        EXPECT_FALSE(sound.m_sample);
        EXPECT_TRUE(IsDiscarded(buffer));

        // Still playing: the deletion fails and the id waits.
        auto kept = rig.Load(rig.beep);
        EXPECT_TRUE(IsDiscarded(buffer));
        EXPECT_TRUE(alIsBuffer(buffer));
        EXPECT_EQ(SourceState(audio, 0), AL_PLAYING);

        // Stopped: the source lets go and the buffer goes (OpenAL may hand its id out again
        // to the buffer loaded here, so the list tells).
        audio.StopChannel(0);
        auto alsoKept = rig.Load(rig.beep);
        EXPECT_FALSE(IsDiscarded(buffer));

        // A sample that ended by itself lets go too, even once its channel reads as stopped.
        auto beep = rig.Load(rig.beep);
        const ALuint beepBuffer = beep->buffer;
        audio.PlaySample(beep, 1, 0);
        EXPECT_EQ(WaitForChannelState(audio, 1, CHANNEL_STOPPED), CHANNEL_STOPPED);
        beep->Discard();
        audio.FlushDiscarded();
        EXPECT_FALSE(alIsBuffer(beepBuffer));
        EXPECT_TRUE(bb_audio_DiscardedBuffers().empty());

        // The last holder of a sample is the channel: replacing it discards the sample.
        audio.PlaySample(rig.Load(rig.tone), 2, 1);
        const ALuint held = audio.channels[2].sample->buffer;
        audio.PlaySample(rig.Load(rig.beep), 2, 1);
        EXPECT_TRUE(IsDiscarded(held));
        audio.FlushDiscarded();
        EXPECT_FALSE(alIsBuffer(held));
    });
}

// A test or tool may open a second device in one process: the buffers went with the first, and
// a sample of it released afterwards must not delete the new device's buffer of the same id.
TEST(AudioDevice, ASampleThatOutlivesItsDeviceLeavesTheNextDevicesBuffersAlone) {
    RunWithOpenAl(kNull, "", [] {
        ScratchDir dir;
        const std::string tone = dir.File("tone.wav");
        WriteFile(tone, MakeWav(2, 8, 11025, Ramp(4000)));
        AudioTestHost host;
        auto first = std::make_unique<gxtkAudio>();
        std::shared_ptr<gxtkSample> old = first->LoadSample(bb_str(tone));
        const ALuint oldBuffer = old->buffer;
        first.reset();

        gxtkAudio second;
        std::shared_ptr<gxtkSample> fresh = second.LoadSample(bb_str(tone));
        ASSERT_EQ(fresh->buffer, oldBuffer) << "OpenAL hands the same id out again";
        old.reset();
        second.PlaySample(fresh, 0, 1);
        EXPECT_TRUE(alIsBuffer(fresh->buffer));
        EXPECT_EQ(SourceState(second, 0), AL_PLAYING);
    });
}

TEST(AudioModule, ForwardsToTheInstalledDevice) {
    RunWithOpenAl(kNull, "", [] {
        ScratchDir dir;
        const std::string beep = dir.File("beep.wav"), music = dir.File("music.ogg");
        WriteFile(beep, MakeWav(1, 8, 8000, Ramp(8000)));
        WriteFile(music, MakeOgg(4000, 1, 8000));
        AudioTestHost host;
        // Before any device the calls do nothing.
        EXPECT_EQ(bb_audio_PlayMusic(bb_str(music), 1), -1);
        EXPECT_EQ(bb_audio_ChannelState(0), 0);

        bb_app_deviceHooks.createAudio = nullptr;
        bb_audio_InstallDevice();
        ASSERT_TRUE(bb_app_deviceHooks.createAudio);
        std::unique_ptr<BBAudioDevice> owned = bb_app_deviceHooks.createAudio();
        gxtkAudio* device = bb_audio_GetAudioDevice();
        ASSERT_EQ(device, owned.get());

        c_Sound sound(device->LoadSample(bb_str(beep)));
        EXPECT_EQ(bb_audio_PlaySound(&sound, 2, 1), 0);
        EXPECT_EQ(bb_audio_ChannelState(2), CHANNEL_PLAYING);
        bb_audio_SetChannelVolume(2, 0.75f);
        bb_audio_SetChannelRate(2, 0.5f);
        EXPECT_FLOAT_EQ(SourceFloat(*device, 2, AL_GAIN), 0.75f);
        EXPECT_FLOAT_EQ(SourceFloat(*device, 2, AL_PITCH), 0.5f);
        bb_audio_StopChannel(2);
        EXPECT_EQ(bb_audio_ChannelState(2), CHANNEL_STOPPED);

        // Null and discarded sounds play nothing.
        EXPECT_EQ(bb_audio_PlaySound(nullptr, 3, 0), 0);
        sound.p_Discard();
        EXPECT_EQ(bb_audio_PlaySound(&sound, 3, 0), 0);
        EXPECT_EQ(device->channels[3].source, 0u);

        EXPECT_EQ(bb_audio_PlayMusic(bb_str(music), 1), 0); // an absolute path stays as it is
        EXPECT_EQ(bb_audio_MusicState(), CHANNEL_PLAYING);
        bb_audio_SetMusicVolume(0.125f);
        EXPECT_FLOAT_EQ(SourceFloat(*device, gxtkAudio::MUSIC_CHANNEL, AL_GAIN), 0.125f);

        owned.reset();
        EXPECT_EQ(bb_audio_GetAudioDevice(), nullptr);
        EXPECT_EQ(gxtkAudio::audio, nullptr);
    });
}

TEST(AudioDevice, WithoutASoundDeviceSaysSoAndStaysHarmless) {
    RunWithOpenAl("no-such-driver", "", [] {
        ScratchDir dir;
        const std::string beep = dir.File("beep.wav");
        WriteFile(beep, MakeWav(1, 8, 8000, Ramp(100)));
        AudioTestHost host;
        testing::internal::CaptureStdout();
        std::unique_ptr<gxtkAudio> audio = std::make_unique<gxtkAudio>();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "OpenAl error: alcOpenDevice failed\n");
        EXPECT_EQ(audio->alcDevice, nullptr);

        std::shared_ptr<gxtkSample> sample = audio->LoadSample(bb_str(beep));
        EXPECT_EQ(audio->PlaySample(sample, 0, 1), -1);
        EXPECT_EQ(audio->ChannelState(0), CHANNEL_STOPPED);
        audio->SetVolume(0, 0.5f);
        audio->SetPan(0, 1.0f);
        audio->SetRate(0, 2.0f);
        audio->PauseChannel(0);
        audio->ResumeChannel(0);
        audio->StopChannel(0);
        audio->Suspend();
        audio->Resume();
        audio->PlayMusic(bb_str(beep), 1);
        EXPECT_EQ(audio->MusicState(), CHANNEL_STOPPED);
        if (sample)
            sample->Discard();
        audio->FlushDiscarded();
        audio.reset();
    });
}
