// bb_audio_*: the game's calls, forwarded to the audio device. Before a device exists they do
// nothing, like the device itself without a sound card.
#include "audio/audio.h"

#include "audio/audio_decoder.h"
#include "files/data_path.h"

gxtkAudio* bb_audio_device = nullptr;

int bb_audio_SetAudioDevice(gxtkAudio* device) {
    bb_audio_device = device;
    return 0;
}

gxtkAudio* bb_audio_GetAudioDevice() {
    return bb_audio_device;
}

int bb_audio_PlaySound(c_Sound* sound, int channel, int flags) {
    if (!bb_audio_device || !sound || !sound->m_sample)
        return 0;
    return bb_audio_device->PlaySample(sound->m_sample, channel, flags);
}

int bb_audio_StopChannel(int channel) {
    if (bb_audio_device)
        bb_audio_device->StopChannel(channel);
    return 0;
}

int bb_audio_ChannelState(int channel) {
    return bb_audio_device ? bb_audio_device->ChannelState(channel) : 0;
}

int bb_audio_SetChannelVolume(int channel, float volume) {
    if (bb_audio_device)
        bb_audio_device->SetVolume(channel, volume);
    return 0;
}

int bb_audio_SetChannelRate(int channel, float rate) {
    if (bb_audio_device)
        bb_audio_device->SetRate(channel, rate);
    return 0;
}

int bb_audio_PlayMusic(const String& path, int flags) {
    return bb_audio_device ? bb_audio_device->PlayMusic(bb_data_FixDataPath(path), flags) : -1;
}

int bb_audio_MusicState() {
    return bb_audio_device ? bb_audio_device->MusicState() : 0;
}

int bb_audio_SetMusicVolume(float volume) {
    if (bb_audio_device)
        bb_audio_device->SetMusicVolume(volume);
    return 0;
}

void bb_audio_InstallDevice() {
    bb_app_deviceHooks.createAudio = []() -> std::unique_ptr<BBAudioDevice> {
        auto device = std::make_unique<gxtkAudio>();
        bb_audio_SetAudioDevice(device.get());
        return device;
    };
    bb_app_deviceHooks.decodeAudio = &DecodeAudioFile;
}
