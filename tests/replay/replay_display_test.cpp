// Runs build/skiddlewick-replay on every script in tests/replay twice: the two traces (and any
// shots) must be identical bytes, and the trace must meet the script's expectation file.
#include "trace_expect_support.h"

#include "common/child_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <fstream>
#include <sstream>

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

// One run in a fresh working folder (where shots land), trace and errors kept apart.
Replay RunReplay(const fs::path& script, const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    ProgramRun run;
    run.args = {"/bin/sh", "-c", "exec \"$0\" \"$1\" 2>errors.txt", kTool.string(),
                script.string()};
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
