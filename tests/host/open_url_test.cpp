// Opening a URL hands it to xdg-open as one argument, never through a shell.
#include "common/child_process.h"
#include "host/glfw_game.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

TEST(OpenUrl, PassesTheUrlAsOneArgumentWithoutAShell) {
    char name[] = "/tmp/openurl.XXXXXX";
    const fs::path dir = mkdtemp(name);
    const fs::path log = dir / "args.txt";
    const fs::path injected = dir / "injected";
    {
        std::ofstream script(dir / "xdg-open");
        script << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"" << log.string() << ".tmp\"\n"
               << "mv \"" << log.string() << ".tmp\" \"" << log.string() << "\"\n";
    }
    fs::permissions(dir / "xdg-open", fs::perms::owner_all);
    const std::string url = "http://example.invalid/?a=1&b=2;touch " + injected.string() +
                            " $(touch " + injected.string() + ") 'q'";

    ChildResult r = RunInChild([&] {
        setenv("PATH", (dir.string() + ":/usr/bin:/bin").c_str(), 1);
        BBGlfwGame host;
        host.OpenUrl(bb_str(url));
        for (int i = 0; i < 200 && !fs::exists(log); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
    });
    EXPECT_EQ(r.status, 0);
    std::ifstream in(log);
    std::string count, arg;
    std::getline(in, count);
    std::getline(in, arg);
    EXPECT_EQ(count, "1");
    EXPECT_EQ(arg, url);
    EXPECT_FALSE(fs::exists(injected));
    fs::remove_all(dir);
}
