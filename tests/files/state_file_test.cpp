// The state file: round trip through the host, atomic replacement and failed writes.
#include "files/state_file.h"
#include "host/bb_game.h"

#include <gtest/gtest.h>

#include "common/file_bytes.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Runs the test in a fresh, empty working folder and returns to the old one afterwards.
class StateFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = fs::current_path();
        char name[] = "/tmp/statefile.XXXXXX";
        dir_ = mkdtemp(name);
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(old_);
        fs::remove_all(dir_);
    }
    // Only the state file itself: no temporary file may be left behind.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        return names;
    }
    fs::path old_, dir_;
    BBGame game_;
};

} // namespace

TEST_F(StateFileTest, NoFileLoadsAsEmpty) {
    EXPECT_EQ(game_.LoadState(), u"");
}

TEST_F(StateFileTest, RoundTripsAsUtf8WithoutMark) {
    const String state = u"controls=38,40\\,37;music=\u00e9\u20ac";
    EXPECT_EQ(game_.SaveState(state), 0);
    EXPECT_EQ(ReadFile(".zibbetstate"), "controls=38,40\\,37;music=\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(game_.LoadState(), state);
    EXPECT_EQ(Entries(), std::vector<std::string>{".zibbetstate"});
}

TEST_F(StateFileTest, SurrogateHalvesAreWrittenOneByOne) {
    const String state = u"\U0001F600";
    EXPECT_EQ(game_.SaveState(state), 0);
    EXPECT_EQ(ReadFile(".zibbetstate"), "\xED\xA0\xBD\xED\xB8\x80");
}

TEST_F(StateFileTest, EverySaveReplacesTheWholeFile) {
    ASSERT_EQ(game_.SaveState(u"a much longer first state"), 0);
    ASSERT_EQ(game_.SaveState(u"short"), 0);
    EXPECT_EQ(ReadFile(".zibbetstate"), "short");
    ASSERT_EQ(game_.SaveState(u""), 0);
    EXPECT_EQ(ReadFile(".zibbetstate"), "");
    EXPECT_EQ(Entries(), std::vector<std::string>{".zibbetstate"});
}

TEST_F(StateFileTest, SingleLatin1ByteReadsBackByTheFallback) {
    WriteFile(".zibbetstate", "\xE9");
    EXPECT_EQ(game_.LoadState(), u"\u00e9");
}

TEST_F(StateFileTest, SaveKeepsTheFilesPermissions) {
    ASSERT_EQ(game_.SaveState(u"one"), 0);
    fs::permissions(".zibbetstate", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(game_.SaveState(u"two"), 0);
    EXPECT_EQ(fs::status(".zibbetstate").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(StateFileTest, UnwritableFolderGivesMinusOne) {
    EXPECT_EQ(bb_files_ReplaceFile(u"no/such/folder/.zibbetstate", "x"), -1);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(StateFileTest, ShortWriteGivesMinusTwoAndKeepsTheOldFile) {
    ASSERT_EQ(game_.SaveState(u"old settings"), 0);
    // In a child, with files limited to 8 bytes, so the write stops short.
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{8, 8};
        setrlimit(RLIMIT_FSIZE, &limit);
        BBGame child;
        _exit(child.SaveState(u"new settings that do not fit") == -2 ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadFile(".zibbetstate"), "old settings");
    EXPECT_EQ(Entries(), std::vector<std::string>{".zibbetstate"});
}
