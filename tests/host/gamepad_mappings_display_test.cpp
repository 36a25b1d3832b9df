// A player's own pad mappings handed to GLFW (which needs a display to start): the environment
// variable, the file beside the state file and the one in the starting folder are all read, and
// a bad line costs only itself.
#include "host/errors.h"
#include "host/gamepad_mappings.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

constexpr const char* kGuid = "030000005e0400008e02000014010000";

std::string Mapping(const std::string& name) {
    return std::string(kGuid) + "," + name +
           ",a:b0,b:b1,x:b2,y:b3,back:b6,start:b7,dpup:h0.1,dpright:h0.2,dpdown:h0.4,"
           "dpleft:h0.8,leftx:a0,lefty:a1,platform:Linux,";
}

} // namespace

TEST(GamepadMappings, EverySourceIsReadAndEachBadLineIsReportedOnceAndSkipped) {
    ASSERT_TRUE(glfwInit()) << "needs a display (Xvfb)";
    glfwSetErrorCallback(onGlfwError);
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("skiddlewick-mappings-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "config/skiddlewick");
    std::ofstream(folder / "config/skiddlewick" / kGamepadMappingsFile, std::ios::binary)
        << Mapping("Pad in the config folder") << "\n";
    const char* ownConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string previousConfig = ownConfig ? ownConfig : "";
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    std::filesystem::current_path(folder);
    std::ofstream(kGamepadMappingsFile, std::ios::binary)
        << "# my pads\n\n"
        << Mapping("Pad in the file") << "\r\n"
        << "not a mapping at all\n"
        << kGuid << ",a name and nothing after it\n"
        << Mapping("Another pad in the file") << "\n";
    setenv("SDL_GAMECONTROLLERCONFIG", (Mapping("Pad from the launcher") + "\n").c_str(), 1);

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int taken = bb_host_LoadGamepadMappings();
    const std::string errors = testing::internal::GetCapturedStderr();
    const std::string output = testing::internal::GetCapturedStdout();
    unsetenv("SDL_GAMECONTROLLERCONFIG");
    setenv("XDG_CONFIG_HOME", previousConfig.c_str(), 1);
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);

    EXPECT_EQ(taken, 4);
    EXPECT_EQ(errors, "gamecontrollerdb.txt line 4: not a gamepad mapping, skipped\n"
                      "gamecontrollerdb.txt line 5: a gamepad mapping GLFW cannot read, skipped\n");
    // GLFW's own complaint is not printed as a GLFW error besides.
    EXPECT_EQ(output, "");
    EXPECT_EQ(glfwSetErrorCallback(onGlfwError), &onGlfwError);
}
