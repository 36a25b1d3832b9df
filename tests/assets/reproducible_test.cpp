// Running the generator again gives the same data folder, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "assets_support.h"

using namespace assets_test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> relative_files(const fs::path& root) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), root).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(Reproducible, TwoRunsGiveIdenticalBytes) {
    fs::path scratch = fs::temp_directory_path() / ("assetgen-test-" + std::to_string(::getpid()));
    fs::remove_all(scratch);
    for (const char* run : {"a", "b"}) {
        ASSERT_EQ(
            run_assetgen(std::string(SKIDDLEWICK_SOURCE_DIR) + "/assets", (scratch / run).string()),
            0);
    }
    std::vector<std::string> files = relative_files(scratch / "a" / "data");
    EXPECT_EQ(files, relative_files(scratch / "b" / "data"));
    EXPECT_EQ(files, relative_files(SKIDDLEWICK_DATA_DIR)) << "the build's data folder differs";
    for (const std::string& f : files) {
        auto bytes = read_bytes((scratch / "a" / "data" / f).string());
        EXPECT_EQ(bytes, read_bytes((scratch / "b" / "data" / f).string())) << f;
        EXPECT_EQ(bytes, read_bytes(data_path(f))) << f << " differs from the build's copy";
    }
    fs::remove_all(scratch);
}

} // namespace
