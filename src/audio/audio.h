// The game's audio module: bb_audio_* forward to the one audio device.
#pragma once

#include "audio/gxtk_audio.h"
#include "audio/sound.h"
#include "runtime/string.h"

extern gxtkAudio* bb_audio_device;

int bb_audio_SetAudioDevice(gxtkAudio* device);
gxtkAudio* bb_audio_GetAudioDevice();
// Nothing happens for a null or discarded sound; -1 when the channel can have no source.
int bb_audio_PlaySound(c_Sound* sound, int channel, int flags);
int bb_audio_StopChannel(int channel);
int bb_audio_ChannelState(int channel);
int bb_audio_SetChannelVolume(int channel, float volume);
int bb_audio_SetChannelRate(int channel, float rate);
// The path is an asset path, put under the data folder unless it names a place itself.
int bb_audio_PlayMusic(const String& path, int flags);
int bb_audio_MusicState();
int bb_audio_SetMusicVolume(float volume);

// Makes the game delegate open a gxtkAudio at start-up and publish it in bb_audio_device.
void bb_audio_InstallDevice();
