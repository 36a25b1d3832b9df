// The start's files decoded ahead, beside the window's making: the load that asks for one gets
// what decoding it would give, each is handed over once, and a file the start could not decode
// fails as it always did.
#include "common/file_bytes.h"
#include "host/devices.h"
#include "support/data_dir_host.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

std::atomic<int> g_decodes{0};

// Decodes a file into its own bytes, their count as the width.
unsigned char* DecodeBytes(std::FILE* file, int* width, int* height, int* depth) {
    ++g_decodes;
    std::string bytes;
    char buffer[256];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, read);
    auto* pixels = static_cast<unsigned char*>(std::malloc(bytes.size() + 1));
    std::memcpy(pixels, bytes.data(), bytes.size());
    *width = static_cast<int>(bytes.size());
    *height = 1;
    *depth = 1;
    return pixels;
}

BBStartupFiles StartupFiles() {
    return BBStartupFiles{{u"Graphics/Title.png", u"Graphics/Missing.png"}, {}};
}

std::string Load(BBGame& host, const char16_t* path) {
    int width = 0, height = 0, depth = 0;
    unsigned char* pixels = host.LoadImageData(path, &width, &height, &depth);
    if (!pixels)
        return "(none)";
    std::string bytes(pixels, pixels + width);
    std::free(pixels);
    return bytes;
}

} // namespace

TEST(StartupPrefetch, AFileDecodedAheadIsTheFileAsDecodedHandedOverOnce) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("prefetch-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "Graphics");
    WriteFile(folder / "Graphics" / "Title.png", "the title's bytes");
    bb_app_deviceHooks = BBDeviceHooks{};
    {
        DataDirHost host(bb_str(folder.string()));
        bb_app_deviceHooks.decodeImage = &DecodeBytes;
        bb_app_deviceHooks.startupFiles = &StartupFiles;
        g_decodes = 0;
        host.PrepareStart();
        EXPECT_EQ(Load(host, u"zibbet://data/Graphics/Title.png"), "the title's bytes");
        EXPECT_EQ(g_decodes, 1) << "the load took the decoding done ahead";
        EXPECT_EQ(Load(host, u"zibbet://data/Graphics/Title.png"), "the title's bytes");
        EXPECT_EQ(g_decodes, 2) << "a second load decodes the file again";
        EXPECT_EQ(Load(host, u"zibbet://data/Graphics/Missing.png"), "(none)");
    }
    bb_app_deviceHooks = BBDeviceHooks{};
    std::filesystem::remove_all(folder);
}
