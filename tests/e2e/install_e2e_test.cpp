// Installing the build into a scratch prefix gives a game that starts from any folder: the
// program and its replay tool with their data under lib/skiddlewick, links to them in bin, and
// the desktop entry, metainfo, icons and manual pages where desktops, software centres and man
// look for them, the entry and the pages naming that prefix's program and data folder. The prefix
// holds a space, as a user's folder may.
#include "common/child_process.h"
#include "e2e/window_shot_support.h"
#include "e2e/x11_window_support.h"
#include "runtime/version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const fs::path kBuild = SKIDDLEWICK_BUILD_DIR;
const std::string kDesktopEntry =
    std::string("share/applications/") + SKIDDLEWICK_APP_ID + ".desktop";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Every regular file under `root`, by its path relative to it, with its bytes.
std::map<std::string, std::string> TreeContents(const fs::path& root) {
    std::map<std::string, std::string> files;
    if (!fs::is_directory(root))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = ReadFile(entry.path());
    }
    return files;
}

std::vector<std::string> Names(const std::map<std::string, std::string>& files) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files)
        names.push_back(name);
    return names;
}

bool HasLine(const std::string& text, const std::string& line) {
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        if (l == line)
            return true;
    }
    return false;
}

// The value of `key` in a desktop entry, or nothing.
std::optional<std::string> EntryValue(const std::string& entry, const std::string& key) {
    std::istringstream in(entry);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(key + "="))
            return line.substr(key.size() + 1);
    }
    return std::nullopt;
}

// The one program an Exec value names, read as a desktop launcher reads it: the escapes of a
// string value undone first, then the quoting. Empty when the value is not one well-formed
// program (an unquoted space, an unclosed quote, anything after it).
std::string ExecProgram(const std::string& value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char c = value[++i];
            text += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
        } else {
            text += value[i];
        }
    }
    if (!text.starts_with('"'))
        return text.find(' ') == std::string::npos ? text : "";
    std::string program;
    std::size_t i = 1;
    for (; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\' && i + 1 < text.size())
            ++i;
        program += text[i];
    }
    return i + 1 == text.size() ? program : "";
}

class InstalledGame : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char name[] = "/tmp/e2e install.XXXXXX";
        prefix_ = mkdtemp(name);
        install_ = RunProgram({{SKIDDLEWICK_CMAKE, "--install", kBuild.string(), "--prefix",
                                prefix_.string(), "--component", "game"},
                               {},
                               {}},
                              120);
    }
    static void TearDownTestSuite() { fs::remove_all(prefix_); }

    void SetUp() override {
        ASSERT_FALSE(install_.timedOut);
        ASSERT_EQ(install_.status, 0) << install_.out;
    }

    static inline fs::path prefix_;
    static inline ChildResult install_;
};

TEST_F(InstalledGame, TheProgramsSitBesideTheirDataAndBinLinksToThem) {
    for (const std::string name : {"skiddlewick", "skiddlewick-replay"}) {
        SCOPED_TRACE(name);
        const fs::path program = prefix_ / "lib/skiddlewick" / name;
        const fs::path link = prefix_ / "bin" / name;
        ASSERT_TRUE(fs::is_regular_file(program));
        EXPECT_NE(fs::status(program).permissions() & fs::perms::others_exec, fs::perms::none);
        ASSERT_TRUE(fs::is_symlink(link));
        // Relative, so the tree still works when a package build stages it elsewhere.
        EXPECT_EQ(fs::read_symlink(link), "../lib/skiddlewick/" + name);
        EXPECT_EQ(fs::canonical(link), fs::canonical(program));
    }

    auto built = TreeContents(kBuild / "data");
    auto installed = TreeContents(prefix_ / "lib/skiddlewick/data");
    ASSERT_FALSE(built.empty());
    EXPECT_EQ(Names(installed), Names(built));
    EXPECT_TRUE(installed == built) << "the installed data differs from the build's";
}

TEST_F(InstalledGame, TheMenuEntryIconsAndManualPageAreInstalled) {
    const std::string desktop = ReadFile(prefix_ / kDesktopEntry);
    for (const char* line : {"[Desktop Entry]", "Type=Application", "Name=Skiddlewick",
                             "Icon=skiddlewick", "Terminal=false"})
        EXPECT_TRUE(HasLine(desktop, line)) << line;

    auto built = TreeContents(kBuild / "icons");
    auto installed = TreeContents(prefix_ / "share/icons/hicolor");
    EXPECT_EQ(Names(installed), (std::vector<std::string>{
                                    "128x128/apps/skiddlewick.png", "192x192/apps/skiddlewick.png",
                                    "256x256/apps/skiddlewick.png", "32x32/apps/skiddlewick.png",
                                    "48x48/apps/skiddlewick.png", "512x512/apps/skiddlewick.png",
                                    "64x64/apps/skiddlewick.png"}));
    EXPECT_TRUE(installed == built) << "the installed icons differ from the build's";

    const std::string manual = ReadFile(prefix_ / "share/man/man6/skiddlewick.6");
    EXPECT_NE(manual.find(".TH SKIDDLEWICK 6"), std::string::npos);
    for (const char* section : {".SH NAME", ".SH SYNOPSIS", ".SH HOW TO PLAY", ".SH OPTIONS",
                                ".SH CONTROLS", ".SH FILES", ".SH EXIT STATUS"})
        EXPECT_TRUE(HasLine(manual, section)) << section;
    EXPECT_NE(manual.find(".config/skiddlewick/.zibbetstate"), std::string::npos);

    const std::string replayManual = ReadFile(prefix_ / "share/man/man6/skiddlewick-replay.6");
    EXPECT_NE(replayManual.find(".TH SKIDDLEWICK\\-REPLAY 6"), std::string::npos);
    for (const char* section : {".SH NAME", ".SH SYNOPSIS", ".SH SCRIPTS", ".SH EXIT STATUS"})
        EXPECT_TRUE(HasLine(replayManual, section)) << section;
}

// The software centres' entry passes their own checker, and launches the installed desktop
// entry under the same id.
TEST_F(InstalledGame, TheMetainfoIsValidAndNamesTheMenuEntry) {
    const fs::path metainfo =
        prefix_ / "share/metainfo" / (std::string(SKIDDLEWICK_APP_ID) + ".metainfo.xml");
    const ChildResult check = RunProgram(
        {{SKIDDLEWICK_APPSTREAMCLI, "validate", "--no-net", metainfo.string()}, {}, {}}, 60);
    EXPECT_EQ(check.status, 0) << check.out;
    const std::string text = ReadFile(metainfo);
    EXPECT_NE(text.find(std::string("<id>") + SKIDDLEWICK_APP_ID + "</id>"), std::string::npos);
    EXPECT_NE(text.find(std::string("<launchable type=\"desktop-id\">") + SKIDDLEWICK_APP_ID +
                        ".desktop</launchable>"),
              std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(prefix_ / kDesktopEntry));
    EXPECT_NE(text.find("<binary>skiddlewick-replay</binary>"), std::string::npos);
    EXPECT_NE(text.find(std::string("<release version=\"") + bb_version_Number + "\""),
              std::string::npos);
}

// A menu started without the prefix's bin on its search path still finds the program, and the
// manual page sends the reader to the data folder actually installed.
TEST_F(InstalledGame, TheMenuEntryAndManualPageNameTheInstalledPrefix) {
    const fs::path program = prefix_ / "bin/skiddlewick";
    const auto exec = EntryValue(ReadFile(prefix_ / kDesktopEntry), "Exec");
    ASSERT_TRUE(exec.has_value()) << "the entry has no Exec key";
    EXPECT_EQ(ExecProgram(*exec), program.string()) << "Exec=" << *exec;
    EXPECT_TRUE(fs::is_regular_file(program));
    EXPECT_EQ(access(program.c_str(), X_OK), 0) << program;

    std::string manual = ReadFile(prefix_ / "share/man/man6/skiddlewick.6");
    for (std::size_t at; (at = manual.find("\\-")) != std::string::npos;)
        manual.erase(at, 1);
    const fs::path data = prefix_ / "lib/skiddlewick/data/";
    EXPECT_TRUE(HasLine(manual, ".I \"" + data.string() + "\"")) << data;
    EXPECT_TRUE(fs::is_directory(data));
    EXPECT_EQ(manual.find("/usr/lib/skiddlewick"), std::string::npos);
}

TEST_F(InstalledGame, StartsThroughTheLinkFromAnUnrelatedFolder) {
    TestDisplay display;
    ASSERT_TRUE(display.ok()) << "needs a display (Xvfb)";
    char name[] = "/tmp/e2e-install-cwd.XXXXXX";
    const std::string cwd = mkdtemp(name);

    auto [pid, out, window] = StartWithWindow(
        display, {{(prefix_ / "bin/skiddlewick").string()}, {"ALSOFT_DRIVERS=null"}, cwd}, 20);
    ASSERT_TRUE(window.has_value()) << "no window appeared";
    EXPECT_EQ(window->title, "Skiddlewick");

    // The title's pictures come from the data folder beside the installed program.
    Shot shot = AwaitShot(window->id, cwd + "/shot.png", TitleShown);
    EXPECT_TRUE(TitleShown(shot)) << "the installed program never reached its title";

    display.SendClose(window->id);
    ChildResult result = WaitProgram(pid, out, 20);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 0) << result.out;
    EXPECT_EQ(result.out.find("Zibbet Runtime Error"), std::string::npos) << result.out;
    fs::remove_all(cwd);
}

} // namespace
