// The kept runs' folder and links: names that sort by time, a clash that never replaces a file,
// pruning to the newest that touches nothing but kept runs; a link that holds a recording, and one
// that is damaged, too long or holds too much, refused in one line.
#include "common/file_bytes.h"

#include "replay/replay_file.h"
#include "replay/run_folder.h"
#include "replay/run_link.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class RunFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kept-runs-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST_F(RunFolder, NewRunsNeverReplaceOneAndThePruningKeepsTheNewestRunsOnly) {
    const fs::path runs = folder_ / "state" / "runs";
    // 2026-12-08 09:03:12 UTC, then three games started in one second.
    const std::time_t start = 1796720592;
    std::vector<std::string> made;
    for (int game = 0; game < 20; ++game) {
        std::string path;
        const int fd = CreateKeptRun(runs.string(), start + (game < 17 ? game : 17), path);
        ASSERT_GE(fd, 0) << path;
        close(fd);
        made.push_back(fs::path(path).filename().string());
    }
    EXPECT_EQ(made[0], "20261208-090312.replay");
    EXPECT_EQ(made[18], "20261208-090329-2.replay");
    EXPECT_EQ(made[19], "20261208-090329-3.replay");
    // Beside them: an older run, a file of the player's, a name that only looks like a run, and
    // a link named like a run that points out of the folder.
    WriteFile(runs / "20251231-235959.replay", "old");
    WriteFile(runs / "notes.txt", "mine");
    WriteFile(runs / "20261208-090312.replay.bak", "mine");
    WriteFile(folder_ / "outside.replay", "outside");
    fs::create_symlink(folder_ / "outside.replay", runs / "20991231-235959.replay");

    std::vector<std::string> newestFirst(made.rbegin(), made.rend());
    newestFirst.push_back("20251231-235959.replay");
    EXPECT_EQ(KeptRuns(runs.string()), newestFirst);

    PruneKeptRuns(runs.string(), 3);
    EXPECT_EQ(KeptRuns(runs.string()), (std::vector<std::string>{made[19], made[18], made[17]}));
    for (const char* kept : {"notes.txt", "20261208-090312.replay.bak", "20991231-235959.replay"})
        EXPECT_TRUE(fs::is_symlink(runs / kept) || fs::exists(runs / kept)) << kept;
    EXPECT_EQ(ReadFile(folder_ / "outside.replay"), "outside");
}

TEST(RunLink, ALinkHoldsItsRecordingAndABadOneIsOneLine) {
    const std::string recording = "version 2.1\nstart\nstep 600\ncheck 600 0123456789abcdef\n";
    const std::string link = "https://example.org/skiddlewick/" + EncodeRunLink(recording);
    EXPECT_TRUE(IsRunLink(link));
    EXPECT_FALSE(IsRunLink("runs/20261208-090312.replay"));
    const ReplayFileText decoded = DecodeRunLink(link);
    ASSERT_TRUE(decoded.text) << decoded.error;
    EXPECT_EQ(*decoded.text, recording);

    const std::string damaged = "the link is damaged: it does not hold a recording";
    EXPECT_EQ(DecodeRunLink(link.substr(0, link.size() - 3)).error, damaged);
    EXPECT_EQ(DecodeRunLink(link + "!").error, damaged);
    EXPECT_EQ(DecodeRunLink("#run=" + std::string(kRunLinkLimit, 'A')).error,
              "the link is longer than 2097152 characters, the most a link may be");
    // A few kilobytes that inflate past the most a script may be.
    EXPECT_EQ(DecodeRunLink(EncodeRunLink(std::string(kReplayFileLimit + 1, '\n'))).error,
              "the link holds more than 64 MiB, the most a script may be");
}

} // namespace
