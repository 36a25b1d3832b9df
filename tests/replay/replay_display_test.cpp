// Runs build/skiddlewick-replay on every script in tests/replay twice: the two traces (and any
// shots) must be identical bytes, and the trace must meet the script's expectation file.
#include "trace_expect_support.h"

#include "common/child_process.h"

#include "road/walker_poses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const fs::path kScripts = fs::path(SKIDDLEWICK_SOURCE_DIR) / "tests" / "replay";
const fs::path kTool = fs::path(SKIDDLEWICK_BINARY).parent_path() / "skiddlewick-replay";

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

struct Replay {
    std::string trace;
    std::string errors;
    int status = -1;
    std::map<std::string, std::string> shots; // file name -> bytes
};

// One run in a fresh working folder (the shots' folder), trace and errors kept apart.
Replay RunReplay(const fs::path& script, const fs::path& folder, bool shots = true) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    ProgramRun run;
    run.args = {"/bin/sh", "-c",
                std::string("exec \"$0\" ") + (shots ? "--shots . " : "") + "\"$1\" 2>errors.txt",
                kTool.string(), script.string()};
    run.env = {"ALSOFT_DRIVERS=null"};
    run.cwd = folder.string();
    ChildResult result = RunProgram(run, 600);
    Replay replay;
    replay.trace = result.out;
    replay.status = result.timedOut ? -2 : result.status;
    replay.errors = ReadFile(folder / "errors.txt");
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".png")
            replay.shots[entry.path().filename().string()] = ReadFile(entry.path());
    }
    return replay;
}

class ReplayScripts : public testing::TestWithParam<std::string> {};

TEST_P(ReplayScripts, RunTwiceToTheSameBytesAndMeetTheirExpectations) {
    const fs::path script = kScripts / (GetParam() + ".replay");
    const fs::path work = fs::temp_directory_path() / ("replay_test_" + std::to_string(getpid()));
    const Replay first = RunReplay(script, work / "first");
    const Replay second = RunReplay(script, work / "second");
    fs::remove_all(work);

    ASSERT_EQ(first.status, 0) << first.errors;
    ASSERT_EQ(second.status, 0) << second.errors;
    EXPECT_EQ(first.trace, second.trace);
    EXPECT_EQ(first.shots, second.shots);
    for (const std::string& failure :
         CheckTrace(first.trace, ReadFile(kScripts / (GetParam() + ".expect"))))
        ADD_FAILURE() << GetParam() << ": " << failure;
}

// Scripts given on the fly, written to a file in the test's folder.
Replay RunText(const std::string& name, const std::string& text, bool shots = true) {
    const fs::path work = fs::temp_directory_path() / ("replay_" + name + std::to_string(getpid()));
    fs::create_directories(work);
    const fs::path script = work / "script.replay";
    std::ofstream(script) << text;
    Replay replay = RunReplay(script, work / "run", shots);
    fs::remove_all(work);
    return replay;
}

TEST(ReplayTool, AScriptMistakeIsReportedBeforeTheGameStarts) {
    const Replay replay = RunText("mistake", "boot\nstep 5\nstep five\n");
    EXPECT_EQ(replay.status, 2);
    EXPECT_EQ(replay.trace, "");
    EXPECT_EQ(replay.errors, "skiddlewick-replay: line 3: 'step' needs a whole number from 0 to "
                             "2147483647, not 'five'\n");
}

TEST(ReplayTool, AShotIsWrittenOnlyAsANewFileInTheFolderGiven) {
    const Replay unasked = RunText("unasked", "boot\nshot title.png\n", false);
    EXPECT_EQ(unasked.status, 2);
    EXPECT_EQ(unasked.trace, "");
    EXPECT_EQ(
        unasked.errors,
        "skiddlewick-replay: line 2: 'shot' writes only into a folder given with --shots DIR\n");

    // The second shot under the same name would replace the first.
    const Replay twice = RunText("twice", "boot\nshot title.png\nstep 1\nshot title.png\n");
    EXPECT_EQ(twice.status, 1);
    EXPECT_EQ(twice.errors,
              "skiddlewick-replay: line 4: shot: cannot write 'title.png': File exists\n");
    ASSERT_EQ(twice.shots.count("title.png"), 1u);
    EXPECT_EQ(twice.shots.at("title.png").substr(1, 3), "PNG");
}

TEST(ReplayTool, OnlyARegularFileIsRead) {
    const fs::path work = fs::temp_directory_path() / ("replay_fifo" + std::to_string(getpid()));
    fs::create_directories(work);
    ASSERT_EQ(mkfifo((work / "pipe").c_str(), 0600), 0);
    for (const fs::path& script : {fs::path("/dev/zero"), work / "pipe"}) {
        const Replay replay = RunReplay(script, work / "run");
        EXPECT_EQ(replay.status, 2);
        EXPECT_EQ(replay.errors,
                  "skiddlewick-replay: '" + script.string() + "' is not a regular file\n");
    }
    fs::remove_all(work);
}

TEST(ReplayTool, StopsWithTheTraceSoFarWhereTheGameCannotGoOn) {
    // The second START GAME comes while the first game's fade runs and the menu is not read.
    const Replay stuck = RunText("stuck", "boot\nnewgame 1\nnewgame 2\nstep 1\n");
    EXPECT_EQ(stuck.status, 1);
    EXPECT_EQ(stuck.errors, "skiddlewick-replay: line 3: newgame: the title menu is not running "
                            "(main state 2)\n");
    auto failures = CheckTrace(stuck.trace, "states 1,2\n"
                                            "then main=2 keys=13 seed=66 money=40\n"
                                            "last main=2 keys=13 seed=66\n");
    EXPECT_TRUE(failures.empty()) << failures.front();

    // With OPTIONS selected, enter opens the options screen instead of starting a game.
    const Replay options = RunText("options", "boot\npress 40\nstep 1\nrelease 40\n"
                                              "newgame 3\n");
    EXPECT_EQ(options.status, 1);
    EXPECT_EQ(options.errors, "skiddlewick-replay: line 5: newgame: START GAME was not activated "
                              "(is another menu item selected?)\n");
    failures = CheckTrace(options.trace, "states 1,2,6\nlast main=6 keys=13 money=0\n");
    EXPECT_TRUE(failures.empty()) << failures.front();
}

// The value of one field of a trace line ("keys", "road"), empty when the line has none.
std::string Field(const std::string& line, const std::string& key) {
    const std::string start = key + "=";
    const size_t at = line.rfind(" " + start) + 1;
    if (line.compare(at, start.size(), start) != 0)
        return {};
    const size_t from = at + start.size();
    return line.substr(from, line.find(' ', from) - from);
}

TEST(ReplayTool, APadButtonIsInKeysOnTheUpdatesTheGameSawItDown) {
    // On the road, past its fade: a pad on port 0 holds its D-pad down (button 11) for three
    // updates, then lets go for two.
    const Replay replay = RunText("pad", "state Difficulty=0\nboot\nnewgame 42\nuntil 3\n"
                                         "step 40\njoy 0 0 0 0 0 0 0\nstep 1\npress 267\n"
                                         "step 3\nrelease 267\nstep 2\n");
    ASSERT_EQ(replay.status, 0) << replay.errors;
    std::vector<std::string> lines;
    std::istringstream trace(replay.trace);
    for (std::string line; std::getline(trace, line);)
        lines.push_back(line);
    ASSERT_GE(lines.size(), 6u);
    const std::vector<std::string> last(lines.end() - 6, lines.end());
    std::vector<std::string> keys;
    for (const std::string& line : last)
        keys.push_back(Field(line, "keys"));
    EXPECT_EQ(keys, (std::vector<std::string>{"", "267", "267", "267", "", ""}));
    // The walker's direction, the road's fourth field, turns down in the first of them.
    auto direction = [](const std::string& line) {
        std::istringstream road(Field(line, "road"));
        std::string value;
        for (int field = 0; field < 4; ++field)
            std::getline(road, value, ',');
        return value;
    };
    EXPECT_NE(direction(last[0]), direction(last[1]));
    EXPECT_EQ(direction(last[1]), std::to_string(c_WalkerDirection::Down));
}

std::vector<std::string> ScriptNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kScripts)) {
        if (entry.path().extension() == ".replay")
            names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Scripts, ReplayScripts, testing::ValuesIn(ScriptNames()),
                         [](const auto& info) { return info.param; });

} // namespace
