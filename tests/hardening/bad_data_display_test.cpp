// Every data file missing, empty, cut in half or replaced by garbage of the same size, in turn, on
// a copy of the data folder: the game (the replay tool, which runs the real game in-process
// without the frame loop) either ends with its own fatal message for the atlas sheet and the
// masks, or boots to the title and plays on the road - never a crash, a hang or a signal. The
// files the road and the slope use in play (their sounds and backdrops) are damaged in a game
// that walks to the hut, hires skis and skis part of the course.
#include "common/child_process.h"
#include "hardening/program_support.h"

#include <gtest/gtest.h>

#include "common/file_bytes.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

enum class Damage { Missing, Empty, Truncated, Garbage };
const char* const kDamageNames[] = {"missing", "empty", "truncated", "garbage"};

struct Case {
    std::string file; // under the data folder
    Damage damage;
};

struct Outcome {
    Case c;
    ChildResult result;
};

// The last line the game printed that is not a trace line: its fatal message, if any.
std::string FatalMessage(const std::string& out) {
    std::string message;
    size_t start = 0;
    while (start < out.size()) {
        size_t end = out.find('\n', start);
        if (end == std::string::npos)
            end = out.size();
        std::string line = out.substr(start, end - start);
        if (!line.empty() && !line.starts_with("u="))
            message = line;
        start = end + 1;
    }
    return message;
}

// The fatal messages a damaged file may end the game with; none for files whose loss the game
// plays on without (sounds, music, pictures, the font).
std::vector<std::string> AllowedFatalMessages(const std::string& file) {
    std::vector<std::string> messages;
    if (file == "Graphics/Sprites.png" || file == "Graphics/Sprites.xml")
        messages = {"Can't load 'Graphics/Sprites.png'"};
    if (file.starts_with("Masks/")) {
        const std::string path = "zibbet://data/" + file;
        messages = {"The mask file '" + path + "' could not be loaded.",
                    "The file '" + path + "' is not a mask, or the file is corrupt.",
                    "The mask file '" + path +
                        "' cannot be used as only version 1 CMSK files are supported.",
                    "The mask file is corrupt."};
    }
    for (std::string& message : messages)
        message = "Zibbet Runtime Error : " + message;
    return messages;
}

void Spoil(const fs::path& path, Damage damage, std::mt19937& random) {
    const std::string bytes = ReadFile(path);
    switch (damage) {
    case Damage::Missing:
        fs::remove(path);
        break;
    case Damage::Empty:
        WriteFile(path, "");
        break;
    case Damage::Truncated:
        WriteFile(path, bytes.substr(0, bytes.size() / 2));
        break;
    case Damage::Garbage: {
        std::string garbage(bytes.size(), '\0');
        for (char& b : garbage)
            b = static_cast<char>(random() & 0xFF);
        WriteFile(path, garbage);
        break;
    }
    }
}

// A program folder of its own: the replay tool with a copy of the data beside it, since the
// game reads its data from beside the running program.
class ProgramCopy {
public:
    ProgramCopy() {
        char name[] = "/tmp/baddata.XXXXXX";
        dir_ = mkdtemp(name);
        fs::copy_file(Replay(), dir_ / "skiddlewick-replay");
        fs::copy(Data(), dir_ / "data", fs::copy_options::recursive);
        WriteFile(dir_ / "road.replay", "boot\nnewgame 7\nuntil 3\nstep 30\n");
        // Easy traffic, seed 42: left to the hut door, down to it, skis hired, up to the slope
        // (through a knock-down and the ambulance), then 60 updates of the course.
        WriteFile(dir_ / "slope.replay", "state Difficulty=0\nboot\nnewgame 42\nuntil 3\n"
                                         "press 73\nstep 12\nrelease 73\npress 90\nstep 85\n"
                                         "release 90\npress 81\nuntil 4\nrelease 81\nstep 60\n");
    }
    ~ProgramCopy() { fs::remove_all(dir_); }

    // The sounds and backdrops, which only a game on the road and the slope puts to use.
    static bool UsedInPlay(const std::string& file) {
        return file.starts_with("Sounds/") || file.starts_with("Graphics/Backdrop");
    }

    static fs::path Replay() {
        return fs::path(SKIDDLEWICK_BINARY).parent_path() / "skiddlewick-replay";
    }
    static fs::path Data() { return SKIDDLEWICK_DATA_DIR; }

    ChildResult Run(const Case& c, const PrivateDisplay& display, std::mt19937& random) {
        const fs::path file = dir_ / "data" / c.file;
        Spoil(file, c.damage, random);
        const fs::path script = dir_ / (UsedInPlay(c.file) ? "slope.replay" : "road.replay");
        ChildResult result = RunProgram({{(dir_ / "skiddlewick-replay").string(), script.string()},
                                         {"ALSOFT_DRIVERS=null", "DISPLAY=" + display.name()},
                                         dir_.string()},
                                        120);
        fs::copy_file(Data() / c.file, file, fs::copy_options::overwrite_existing);
        return result;
    }

private:
    fs::path dir_;
};

std::vector<Case> EveryCase() {
    std::vector<Case> cases;
    for (const auto& entry : fs::recursive_directory_iterator(ProgramCopy::Data())) {
        if (!entry.is_regular_file())
            continue;
        const std::string file = fs::relative(entry.path(), ProgramCopy::Data()).string();
        for (Damage damage : {Damage::Missing, Damage::Empty, Damage::Truncated, Damage::Garbage})
            cases.push_back({file, damage});
    }
    return cases;
}

} // namespace

TEST(BadData, EveryDataFileDamagedEndsInItsFatalMessageOrAGame) {
    ASSERT_TRUE(fs::exists(ProgramCopy::Replay())) << "build skiddlewick-replay first";
    const std::vector<Case> cases = EveryCase();
    ASSERT_GT(cases.size(), 40u * 4);

    // Two workers, each with its own program folder and X server (so that the hundreds of
    // short-lived clients leave the shared display alone), share the cases.
    // The copies are made before either worker starts programs: a child forked while the other
    // copy was still being written would hold it open, and starting it would fail.
    std::vector<Outcome> outcomes(cases.size());
    ProgramCopy programs[2];
    auto work = [&](size_t first) {
        PrivateDisplay display;
        ProgramCopy& program = programs[first];
        std::mt19937 random(static_cast<unsigned>(first) + 1);
        for (size_t i = first; i < cases.size(); i += 2) {
            outcomes[i] = {cases[i],
                           display.ok() ? program.Run(cases[i], display, random) : ChildResult{}};
        }
    };
    std::thread other(work, 1);
    work(0);
    other.join();

    for (const Outcome& o : outcomes) {
        SCOPED_TRACE(o.c.file + " " + kDamageNames[static_cast<int>(o.c.damage)]);
        const ChildResult& r = o.result;
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.signal, 0);
        if (r.status == 0)
            continue; // booted, started a game and played on (as far as the slope)
        const std::vector<std::string> allowed = AllowedFatalMessages(o.c.file);
        const std::string message = FatalMessage(r.out);
        EXPECT_EQ(r.status, 255) << r.out.substr(r.out.size() > 2000 ? r.out.size() - 2000 : 0);
        EXPECT_TRUE(std::find(allowed.begin(), allowed.end(), message) != allowed.end())
            << "ended with: " << message;
    }
}
