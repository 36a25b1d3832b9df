// The state file: round trip through the host, atomic replacement, links, modes, folders that
// take no new file, and failed writes.
#include "files/state_file.h"
#include "host/bb_game.h"

#include <gtest/gtest.h>

#include "common/child_process.h"
#include "common/config_folder.h"
#include "common/file_bytes.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Runs the test in a fresh, empty config folder of its own, which is also the working folder, and
// returns to the old one afterwards.
class StateFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = fs::current_path();
        dir_ = MakeConfigFolder("statefile");
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(old_);
        RemoveConfigFolder(dir_);
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

TEST_F(StateFileTest, ANewFileGetsTheUmasksModeAndAReplacedOneKeepsItsOwn) {
    const mode_t old = umask(027);
    const int saved = game_.SaveState(u"one");
    umask(old);
    ASSERT_EQ(saved, 0);
    EXPECT_EQ(fs::status(".zibbetstate").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::permissions(".zibbetstate",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    ASSERT_EQ(game_.SaveState(u"two"), 0);
    EXPECT_EQ(fs::status(".zibbetstate").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
}

TEST_F(StateFileTest, ALinkedStateFileStaysALinkAndItsTargetGetsTheSettings) {
    fs::create_directory("settings");
    WriteFile("settings/game.state", "old settings");
    fs::create_symlink("settings/game.state", ".zibbetstate");
    ASSERT_EQ(game_.SaveState(u"new settings"), 0);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(".zibbetstate")));
    EXPECT_EQ(ReadFile("settings/game.state"), "new settings");
    EXPECT_EQ(game_.LoadState(), u"new settings");
    // A link to a file not yet there: the first save creates it.
    fs::create_symlink("settings/later.state", "later");
    EXPECT_EQ(bb_files_ReplaceFile(u"later", "x"), 0);
    EXPECT_EQ(ReadFile("settings/later.state"), "x");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status("later")));
}

TEST_F(StateFileTest, AFolderThatTakesNoNewFileStillSavesIntoItsWritableFile) {
    // Permissions are checked for another user only: the save runs as "nobody" in a folder it
    // may not write, on a state file it owns.
    constexpr uid_t kNobody = 65534;
    WriteFile(".zibbetstate", "a much longer set of old settings");
    ASSERT_EQ(chown(".zibbetstate", kNobody, kNobody), 0);
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(dir_.parent_path(), fs::perms::others_exec, fs::perm_options::add);
    const ChildResult saved = RunInChild([] {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0)
            return;
        BBGame game;
        std::printf("%d", game.SaveState(u"new settings"));
    });
    EXPECT_EQ(saved.out, "0");
    EXPECT_EQ(ReadFile(".zibbetstate"), "new settings");
    EXPECT_EQ(Entries(), std::vector<std::string>{".zibbetstate"});
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

TEST(StateFilePlace, TheConfigFolderFollowsTheXdgBaseDirectories) {
    struct Case {
        const char* xdgConfigHome;
        const char* home;
        String folder;
    };
    const Case cases[] = {
        {"/x/config", "/home/p", u"/x/config/skiddlewick"},
        {nullptr, "/home/p", u"/home/p/.config/skiddlewick"},
        {"", "/home/p", u"/home/p/.config/skiddlewick"},
        {"relative/config", "/home/p", u"/home/p/.config/skiddlewick"}, // to be ignored
        {nullptr, nullptr, u""},
        {nullptr, "relative", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xdgConfigHome ? c.xdgConfigHome : "(unset)");
        EXPECT_EQ(bb_files_ConfigFolder(c.xdgConfigHome, c.home), c.folder);
    }
}

// One player starting the game from two folders: an old state file in the first is read once,
// the save goes to the config folder (made private on the way), and the second folder finds it.
TEST(StateFilePlace, TheSettingsFollowThePlayerFromFolderToFolder) {
    const fs::path previous = fs::current_path();
    const fs::path config = MakeConfigFolder("stateplace");
    const fs::path root = config.parent_path();
    fs::remove(config); // as on a first run: no folder of the game's yet
    fs::create_directories(root / "downloads");
    fs::create_directories(root / "desktop");
    WriteFile(root / "downloads/.zibbetstate", "Difficulty=2");
    BBGame game;

    fs::current_path(root / "downloads");
    EXPECT_EQ(game.LoadState(), u"Difficulty=2");
    ASSERT_EQ(game.SaveState(u"Difficulty=0"), 0);
    fs::current_path(root / "desktop");
    EXPECT_EQ(game.LoadState(), u"Difficulty=0");
    fs::current_path(root / "downloads");
    EXPECT_EQ(game.LoadState(), u"Difficulty=0"); // the old file is read no more ...
    fs::current_path(previous);

    EXPECT_EQ(ReadFile(root / "downloads/.zibbetstate"), "Difficulty=2"); // ... and kept
    EXPECT_EQ(ReadFile(config / ".zibbetstate"), "Difficulty=0");
    EXPECT_EQ(fs::status(config).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(root / "desktop/.zibbetstate"));
    RemoveConfigFolder(config);
}

TEST(StateFilePlace, AConfigFolderThatCannotBeMadeIsReportedAndChangesNothing) {
    const fs::path config = MakeConfigFolder("stateplace");
    // A file where the folder should be: nothing can go inside it.
    fs::remove(config);
    WriteFile(config, "in the way");
    BBGame game;
    testing::internal::CaptureStderr();
    EXPECT_EQ(game.SaveState(u"Difficulty=0"), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "skiddlewick: the settings could not be saved in '" + config.string() +
                  "/.zibbetstate'\n");
    EXPECT_EQ(ReadFile(config), "in the way");
    RemoveConfigFolder(config);
}
