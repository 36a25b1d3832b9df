// Helpers for the tests that open a real OpenAL Soft device.
#include "audio/audio_device_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "audio/audio_decoder.h"
#include "host/devices.h"

AudioTestHost::AudioTestHost() {
    bb_app_deviceHooks.decodeAudio = &DecodeAudioFile;
}

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "skw-audio-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void RunWithOpenAl(const std::string& drivers, const std::string& config,
                   const std::function<void()>& body) {
    ScratchDir dir;
    const std::string configFile = dir.File("alsoft.conf");
    if (!config.empty())
        std::ofstream(configFile) << config;
    std::fflush(nullptr);
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // OpenAL Soft reads both on its first call, which only this process makes.
        setenv("ALSOFT_DRIVERS", drivers.c_str(), 1);
        if (config.empty())
            unsetenv("ALSOFT_CONF");
        else
            setenv("ALSOFT_CONF", configFile.c_str(), 1);
        body();
        std::fflush(nullptr);
        _exit(testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the child process failed (see its messages above), status " << status;
}

namespace {

// Playback runs on OpenAL Soft's own clock, so waiting for a sound to end takes real time;
// the wait is bounded and ends as soon as the condition holds.
template <class Poll> int WaitFor(Poll poll, int wanted) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (poll() != wanted && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return poll();
}

} // namespace

int WaitForChannelState(gxtkAudio& device, int channel, int state) {
    return WaitFor([&] { return device.ChannelState(channel); }, state);
}

int WaitForSourceState(const gxtkAudio& device, int channel, int alState) {
    return WaitFor([&] { return SourceState(device, channel); }, alState);
}

int SourceState(const gxtkAudio& device, int channel) {
    return device.channels[channel].SourceState();
}
