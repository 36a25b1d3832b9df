// The real program with a state file that is garbage, binary, huge or not a file at all, or in a
// config folder it cannot write: each time it reaches the title, the options can be
// left (which saves) and the game goes on until it is ended.
#include "hardening/program_support.h"

#include <gtest/gtest.h>

#include "common/config_folder.h"
#include "common/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace fs = std::filesystem;

namespace {

// A fresh working folder, which is also the program's config folder, removed afterwards.
class WorkingFolder {
public:
    WorkingFolder() { path_ = MakeConfigFolder("badstate-program"); }
    ~WorkingFolder() {
        fs::permissions(path_, fs::perms::owner_all);
        RemoveConfigFolder(path_);
    }
    const fs::path& path() const { return path_; }
    fs::path state() const { return path_ / ".zibbetstate"; }

private:
    fs::path path_;
};

// Starts the program in the folder and checks that it opens its window and is still running a
// little later; then ends it.
void ExpectStartsAndRuns(const PrivateDisplay& display, const WorkingFolder& folder) {
    GameProcess game(display, folder.path().string());
    ASSERT_TRUE(game.AwaitWindow(30)) << game.Wait(0).out;
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_TRUE(game.Running()) << game.Wait(0).out;
}

// Starts the program in the folder, waits for the title, goes to the options screen and leaves
// it (which saves the settings), and checks that the game is back on the title and that escape
// there ends it normally.
void ExpectOptionsLeftAndGameEnded(const PrivateDisplay& display, const WorkingFolder& folder,
                                   bool withoutFileAccessOverride = false) {
    GameProcess game(display, folder.path().string(), withoutFileAccessOverride);
    ASSERT_TRUE(game.AwaitWindow(30)) << game.Wait(0).out;
    ASSERT_TRUE(game.AwaitTitle(30)) << game.Wait(0).out;
    game.Keys("Down Return");
    ASSERT_TRUE(game.AwaitOptions(15)) << game.Wait(0).out;
    game.Keys("Escape");
    ASSERT_TRUE(game.AwaitTitle(15)) << game.Wait(0).out;
    game.Keys("Escape");
    ChildResult result = game.Wait(15);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, 0) << result.out;
}

} // namespace

// After the options are left, the state file is replaced by the settings (a folder in its
// place cannot be replaced, and stays).
TEST(BadStateProgram, RunsAndSavesWhateverStoodInTheStateFilesPlace) {
    PrivateDisplay display;
    ASSERT_TRUE(display.ok()) << "Xvfb did not start";
    using namespace std::string_literals;
    const struct {
        const char* what;
        std::function<void(const fs::path&)> make;
        bool replaced;
    } cases[] = {
        {"no state file", [](const fs::path&) {}, true},
        {"binary garbage",
         [](const fs::path& p) {
             WriteFile(p, "\0\xFF\xFE=,\\\x80"
                          "Difficulty=\xC0\x01"s);
         },
         true},
        {"a sparse file of 8 GiB",
         [](const fs::path& p) {
             int fd = open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
             ASSERT_GE(fd, 0);
             ASSERT_EQ(ftruncate(fd, 8LL << 30), 0);
             close(fd);
         },
         true},
        {"a FIFO with no writer", [](const fs::path& p) { mkfifo(p.c_str(), 0644); }, true},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WorkingFolder folder;
        c.make(folder.state());
        ExpectOptionsLeftAndGameEnded(display, folder);
        EXPECT_EQ(fs::is_regular_file(folder.state()), c.replaced);
        if (c.replaced) {
            EXPECT_NE(ReadFile(folder.state()).find("Difficulty=1,"), std::string::npos);
        }
    }
}

TEST(BadStateProgram, AFullScreenSizeNoWindowCanHaveStartsAnyway) {
    PrivateDisplay display;
    ASSERT_TRUE(display.ok()) << "Xvfb did not start";
    WorkingFolder folder;
    WriteFile(folder.state(), "FullScreen=1,ResolutionWidth=-640,ResolutionHeight=0");
    ExpectStartsAndRuns(display, folder);
}

// (A writable state file in a folder the program cannot write is written in place.)
TEST(BadStateProgram, AFolderAndFileItCannotWriteLoseNothingAndStopNothing) {
    PrivateDisplay display;
    ASSERT_TRUE(display.ok()) << "Xvfb did not start";
    WorkingFolder folder;
    WriteFile(folder.state(), "Difficulty=2,MusicVolume=30");
    fs::permissions(folder.state(), fs::perms::owner_read);
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    ExpectOptionsLeftAndGameEnded(display, folder, true);
    EXPECT_EQ(ReadFile(folder.state()), "Difficulty=2,MusicVolume=30");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}
