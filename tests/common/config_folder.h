// A config folder of the test's own for the game in this process and the programs it starts:
// XDG_CONFIG_HOME names a fresh folder, and the game keeps its files in its "skiddlewick" inside.
// A test that works in that folder finds the state file as "./.zibbetstate" there.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

// The game's config folder (empty when it could not be made); remove it with
// RemoveConfigFolder.
inline std::filesystem::path MakeConfigFolder(const std::string& prefix) {
    std::string home = (std::filesystem::temp_directory_path() / (prefix + ".XXXXXX")).string();
    if (!mkdtemp(home.data()))
        return {};
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    const std::filesystem::path folder = std::filesystem::path(home) / "skiddlewick";
    std::filesystem::create_directory(folder);
    return folder;
}

inline void RemoveConfigFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::remove_all(folder.parent_path(), error);
}
