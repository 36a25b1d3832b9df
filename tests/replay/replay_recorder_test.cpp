// The recorder when its file stops taking lines mid-run (a full disk): the game goes on, and the
// program's quit ends with status 1, so that whoever asked for the recording learns it is cut
// short.
#include "common/child_process.h"

#include "host/errors.h"
#include "host/game_session.h"
#include "replay/replay_recorder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

TEST(ReplayRecorder, ARecordingThatStopsBeingWrittenMakesTheQuitEndWithStatusOne) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("recorder-" + std::to_string(getpid()));
    const ChildResult result = RunInChild([&] {
        std::string error;
        std::unique_ptr<ReplayRecorder> recorder = ReplayRecorder::Open(path.string(), error);
        if (!recorder)
            std::_Exit(10);
        // The file may grow no further than its version line: the next line fails to be written
        // (EFBIG, the signal that would announce it ignored).
        std::signal(SIGXFSZ, SIG_IGN);
        const auto size = static_cast<rlim_t>(std::filesystem::file_size(path));
        const rlimit limit{size, size};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            std::_Exit(11);
        bb_host_session = recorder.get();
        recorder->Clock(1000);
        bb_host_Exit(0);
    });
    std::filesystem::remove(path);
    EXPECT_EQ(result.status, 1) << result.out;
}
