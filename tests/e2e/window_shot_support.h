// Screenshots of the game's window for the end-to-end tests: taking one, reading its pixels, and
// waiting (the program loads in the background) until one shows what a test expects.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

using Rgb = std::array<int, 3>;

struct Shot {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    Rgb At(int x, int y) const {
        const unsigned char* p = rgb.data() + (static_cast<size_t>(y) * width + x) * 3;
        return {p[0], p[1], p[2]};
    }
};

// Runs a shell command line (the tests drive xdotool and ImageMagick this way), for at most 30
// seconds.
int Shell(const std::string& command);

// The window's contents, as the player sees them; `file` holds the picture afterwards.
Shot Screenshot(unsigned long window, const std::filesystem::path& file);

// Polls for up to 30 seconds until a 640 x 480 shot satisfies `ready`; returns the last shot.
Shot AwaitShot(unsigned long window, const std::filesystem::path& file, bool (*ready)(const Shot&));

// The title screen's grey is showing: the title pictures have loaded from the data folder.
bool TitleShown(const Shot& shot);
