// Reading whole files through the host: data blocks, text, and paths that open nothing.
#include "host/glfw_game.h"
#include "host/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class FileAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/fileaccess.XXXXXX";
        dir_ = mkdtemp(name);
    }
    void TearDown() override { fs::remove_all(dir_); }
    String Put(const std::string& name, std::string_view bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return bb_str((dir_ / name).string());
    }
    fs::path dir_;
};

} // namespace

TEST_F(FileAccessTest, LoadDataReturnsTheWholeFile) {
    BBGame game;
    std::string bytes(10000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7);
    String path = Put("blob.bin", bytes);
    int length = -1;
    unsigned char* data = game.LoadData(path, &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 10000);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), length), bytes);
    std::free(data);

    data = game.LoadData(Put("empty.bin", ""), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 0);
    std::free(data);
}

TEST_F(FileAccessTest, MissingFilesGiveNullAndEmptyText) {
    BBGame game;
    int length = 123;
    String missing = bb_str((dir_ / "missing.bin").string());
    EXPECT_EQ(game.LoadData(missing, &length), nullptr);
    EXPECT_EQ(length, 123);
    EXPECT_EQ(game.LoadString(missing), u"");
    EXPECT_EQ(game.OpenFile(missing, u"rb"), nullptr);
}

TEST_F(FileAccessTest, LoadStringDecodesText) {
    BBGame game;
    EXPECT_EQ(game.LoadString(Put("utf8.txt", "\xEF\xBB\xBFna\xC3\xAFve")), u"na\u00efve");
    EXPECT_EQ(game.LoadString(Put("latin1.txt", "na\xEFve")), u"na\u00efve");
    // Longer than one read block.
    std::string big(9000, 'x');
    EXPECT_EQ(game.LoadString(Put("big.txt", big)), String(9000, u'x'));
}

TEST_F(FileAccessTest, NonAsciiFileNamesOpen) {
    BBGame game;
    String path = Put("caf\xC3\xA9.txt", "ok");
    EXPECT_EQ(game.LoadString(path), u"ok");
}

TEST_F(FileAccessTest, DesktopHostMapsSchemesBesideTheProgram) {
    BBGlfwGame game;
    const String& dir = bb_platform_ProgramDirectory();
    char self[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    EXPECT_EQ(dir, bb_str(fs::path(self).parent_path().string()));
    EXPECT_EQ(game.PathToFilePath(u"zibbet://data/Graphics/Title.png"),
              dir + u"/data/Graphics/Title.png");
    EXPECT_EQ(game.OpenFile(u"zibbet://other/x", u"rb"), nullptr);
    int length = 0;
    EXPECT_EQ(game.LoadData(u"zibbet://other/x", &length), nullptr);
    EXPECT_EQ(game.LoadString(u"zibbet:nothing"), u"");
}
