// The host looks for its data beside the running program; the test programs live one folder
// below the game, so they are given a link to the game's data folder.
#pragma once

#include <filesystem>

inline void LinkDataBesideTestProgram() {
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    std::filesystem::path link = exe.parent_path() / "data";
    std::error_code error;
    if (!std::filesystem::exists(link, error))
        std::filesystem::create_directory_symlink(SKIDDLEWICK_DATA_DIR, link, error);
}
