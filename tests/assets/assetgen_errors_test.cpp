// A mistake in an asset source stops the generator with a message that names the file and line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "assets_support.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status;
    std::string errors;
};

Outcome run_generator(const fs::path& assets, const fs::path& out) {
    fs::path log = out / "errors.txt";
    fs::create_directories(out);
    int status = assets_test::run_assetgen(assets.string(), out.string(), log.string());
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    return {status, text.str()};
}

TEST(AssetgenErrors, ABrokenSourceNamesItsFileAndLineAndFails) {
    fs::path scratch =
        fs::temp_directory_path() / ("assetgen-errors-" + std::to_string(::getpid()));
    fs::remove_all(scratch);
    const struct {
        const char* file;
        const char* appended;
        const char* message;
    } cases[] = {
        {"sprites/walker.txt", "\nsprite Broken\n..Z..\n", "walker.txt:"},
        {"sprites/walker.txt", "\nderive Broken NoSuchSprite mirror\n",
         "no sprite named 'NoSuchSprite'"},
        {"sounds/Beep.synth", "voice kazoo freq=3\n", "Beep.synth:"},
        {"music/Music.notes", "voice square\nH9/4\n", "Music.notes:"},
        {"pictures/Title.draw", "rect 1 2 3 4 white\n", "not on the block grid"},
        {"masks.txt", "Extra NoSuchSprite\n", "masks.txt:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        fs::path assets = scratch / "assets";
        fs::remove_all(assets);
        fs::create_directories(scratch);
        fs::copy(fs::path(SKIDDLEWICK_SOURCE_DIR) / "assets", assets, fs::copy_options::recursive);
        std::ofstream(assets / c.file, std::ios::app) << c.appended;
        Outcome outcome = run_generator(assets, scratch / "out");
        EXPECT_NE(outcome.status, 0);
        EXPECT_NE(outcome.errors.find(c.message), std::string::npos) << outcome.errors;
    }
    fs::remove_all(scratch);
}

} // namespace
