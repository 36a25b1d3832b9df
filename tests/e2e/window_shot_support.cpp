// Screenshots of the game's window through ImageMagick's import, decoded with stb_image.
#include "e2e/window_shot_support.h"

#include <stb_image.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

using namespace std::chrono_literals;

int Shell(const std::string& command) {
    // A tool can wait for ever on a window that has gone (xdotool's --sync does): each command
    // line gets 30 seconds, so a test fails rather than hangs.
    std::string quoted = "'";
    for (char c : command)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return std::system(("timeout -k 5 30 sh -c " + quoted + "'").c_str());
}

Shot Screenshot(unsigned long window, const std::filesystem::path& file) {
    Shot shot;
    Shell("import -window " + std::to_string(window) + " png:" + file.string() + " 2>/dev/null");
    int channels = 0;
    if (unsigned char* data = stbi_load(file.c_str(), &shot.width, &shot.height, &channels, 3)) {
        shot.rgb.assign(data, data + static_cast<size_t>(shot.width) * shot.height * 3);
        stbi_image_free(data);
    }
    return shot;
}

Shot AwaitShot(unsigned long window, const std::filesystem::path& file,
               bool (*ready)(const Shot&)) {
    Shot shot;
    auto deadline = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < deadline) {
        shot = Screenshot(window, file);
        if (shot.width == 640 && shot.height == 480 && ready(shot))
            break;
        std::this_thread::sleep_for(100ms);
    }
    return shot;
}

bool TitleShown(const Shot& shot) {
    return shot.At(639, 479) == Rgb{170, 170, 170};
}
