// Helpers for the tests that open a real OpenAL Soft device: a host that loads sound files by
// their plain names, a scratch folder, and a child process per device so that each test can
// give OpenAL Soft its own drivers and configuration.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "audio/gxtk_audio.h"
#include "host/bb_game.h"

// The platform-neutral host with the game's sound decoder installed.
class AudioTestHost : public BBGame {
public:
    AudioTestHost();
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Runs `body` in a child process whose OpenAL Soft uses `drivers` and, when `config` is not
// empty, reads it as its configuration file. The child's test failures fail the calling test.
void RunWithOpenAl(const std::string& drivers, const std::string& config,
                   const std::function<void()>& body);

// Asks the channel's state until it is `state` or a few seconds have passed; the final state.
int WaitForChannelState(gxtkAudio& device, int channel, int state);

// Waits the same way for the source's own OpenAL state; the final one.
int WaitForSourceState(const gxtkAudio& device, int channel, int alState);

// The source's OpenAL state (AL_PLAYING, AL_PAUSED, AL_STOPPED...).
int SourceState(const gxtkAudio& device, int channel);
