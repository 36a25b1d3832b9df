// Texture atlas pages over a real context: descriptions and sheets written by the test, and the
// game's own atlas from the data folder.
#include <gtest/gtest.h>

#include <stb_image_write.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>
#include <vector>

#include "common/child_process.h"
#include "graphics/graphics.h"
#include "graphics/graphics_test_support.h"
#include "graphics/texture_page.h"
#include "host/app.h"
#include "markup/config.h"
#include "support/data_dir_host.h"

namespace fs = std::filesystem;

namespace {

using graphics_test::GlWindow;

constexpr int kSheetWidth = 64;
constexpr int kSheetHeight = 48;

class TexturePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) / ("texture_page_" + std::to_string(::getpid()));
        fs::create_directories(dir / "Graphics");
        UseDataFolder(bb_str(dir.string()));
        window = std::make_unique<GlWindow>(64, 64);
        bb_graphics_Init();
        device = std::make_unique<gxtkGraphics>();
        bb_graphics_SetGraphicsDevice(device.get());
        bb_texturepage_Init();
        WriteSheet("Graphics/Sheet.png");
    }
    void TearDown() override {
        bb_texturepage_Init();
        bb_graphics_Init();
        host.reset();
        bb_app_Reset();
        fs::remove_all(dir);
    }

    void UseDataFolder(const String& folder) {
        host.reset();
        host = std::make_unique<DataDirHost>(folder);
        bb_app_Reset();
    }

    // Each pixel tells where it is: red = 4 x, green = 5 y.
    void WriteSheet(const std::string& name) {
        std::vector<unsigned char> rgba;
        for (int y = 0; y < kSheetHeight; ++y)
            for (int x = 0; x < kSheetWidth; ++x)
                rgba.insert(rgba.end(), {static_cast<unsigned char>(4 * x),
                                         static_cast<unsigned char>(5 * y), 0x80, 0xff});
        ASSERT_NE(stbi_write_png((dir / name).c_str(), kSheetWidth, kSheetHeight, 4, rgba.data(),
                                 kSheetWidth * 4),
                  0);
    }

    void WriteText(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
    }

    // A description of the test sheet with these SubTexture lines.
    void WriteAtlas(const std::string& name, const std::string& entries) {
        WriteText(name, "<TextureAtlas imagePath=\"Graphics/Sheet.png\">\n" + entries +
                            "</TextureAtlas>\n");
    }

    // The sheet pixel under the top-left corner of the image's frame, as (red, green), read back
    // from the sheet's texture.
    static std::pair<int, int> CornerPixel(const c_Image& image) {
        gxtkSurface& surface = *image.p_Surface();
        surface.Bind();
        std::vector<unsigned char> rgba(static_cast<size_t>(surface.Width()) * surface.Height() *
                                        4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        const c_Frame& frame = image.m_frames[0];
        const unsigned char* p =
            &rgba[static_cast<size_t>(frame.m_y * surface.Width() + frame.m_x) * 4];
        return {p[0], p[1]};
    }

    fs::path dir;
    std::unique_ptr<DataDirHost> host;
    std::unique_ptr<GlWindow> window;
    std::unique_ptr<gxtkGraphics> device;
};

TEST_F(TexturePageTest, CutsNamedRectanglesFromTheSheet) {
    WriteAtlas("Graphics/Atlas.xml",
               "<SubTexture name=\"Tree\" x=\" 10 \" y=\"20\" width=\"16\" height=\"24\"/>\n"
               "<SubTexture name=\"Car\" x=\"2\" y=\"3\" width=\"12px\"/>\n");
    c_TexturePage page(u"Graphics/Atlas.xml");
    ASSERT_TRUE(page.p_IsLoaded());
    ASSERT_NE(page.m_image, nullptr);
    EXPECT_EQ(page.m_image->p_Width(), kSheetWidth);

    auto tree = page.p_FindImage(u"Tree", 0);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->p_Width(), 16);
    EXPECT_EQ(tree->p_Height(), 24);
    ASSERT_EQ(tree->p_Frames(), 1);
    EXPECT_EQ(tree->m_frames[0].m_x, 10);
    EXPECT_EQ(tree->m_frames[0].m_y, 20);
    EXPECT_EQ(CornerPixel(*tree), std::make_pair(40, 100));
    EXPECT_EQ(tree->m_source, page.m_image.get());
    EXPECT_EQ(tree->p_Surface(), page.m_image->p_Surface()); // the pixels are shared
    EXPECT_EQ(tree->p_Flags(), 0);

    auto again = page.p_FindImage(u"Tree", 0);
    EXPECT_NE(again.get(), tree.get()); // every call makes a new image

    auto car = page.p_FindImage(u"Car", 0);
    ASSERT_NE(car, nullptr);
    EXPECT_EQ(car->p_Width(), 12); // "12px"
    EXPECT_EQ(car->p_Height(), 0); // no height
    EXPECT_EQ(CornerPixel(*car), std::make_pair(8, 15));

    for (const char16_t* unknown : {u"tree", u"TREE", u"Bus", u""})
        EXPECT_EQ(page.p_FindImage(unknown, 0), nullptr) << bb_narrow(unknown);
}

TEST_F(TexturePageTest, AppliesTheFlagsToTheRectangle) {
    WriteAtlas("Graphics/Atlas.xml",
               "<SubTexture name=\"Tree\" x=\"10\" y=\"20\" width=\"16\" height=\"24\"/>\n"
               "<SubTexture name=\"All\" x=\"0\" y=\"0\" width=\"64\" height=\"48\"/>\n");
    c_TexturePage page(u"Graphics/Atlas.xml");
    ASSERT_TRUE(page.p_IsLoaded());

    auto centred = page.p_FindImage(u"Tree", c_Image::m_CentreHandle);
    EXPECT_EQ(centred->p_HandleX(), 8.0f);
    EXPECT_EQ(centred->p_HandleY(), 12.0f);
    EXPECT_EQ(centred->p_Flags(), 0);

    auto paddedX = page.p_FindImage(u"Tree", c_Image::m_PaddedX);
    EXPECT_EQ(paddedX->m_frames[0].m_x, 11);
    EXPECT_EQ(paddedX->p_Width(), 14);
    EXPECT_EQ(paddedX->p_Height(), 24);

    auto paddedBoth = page.p_FindImage(u"Tree", c_Image::m_PaddedX | c_Image::m_PaddedY);
    EXPECT_EQ(paddedBoth->m_frames[0].m_x, 11);
    EXPECT_EQ(paddedBoth->m_frames[0].m_y, 21);
    EXPECT_EQ(paddedBoth->p_Width(), 14);
    EXPECT_EQ(paddedBoth->p_Height(), 22);
    EXPECT_EQ(CornerPixel(*paddedBoth), std::make_pair(44, 105));

    EXPECT_EQ(page.p_FindImage(u"All", 0)->p_Flags(), c_Image::m_WholeSurface);
    EXPECT_EQ(page.p_FindImage(u"Tree", 0)->p_Flags() & c_Image::m_WholeSurface, 0);
}

TEST_F(TexturePageTest, MarkupNamesAreCaseInsensitiveAndImageNamesAreNot) {
    WriteText("Graphics/Atlas.xml",
              "<textureATLAS IMAGEPATH=\"Graphics/Sheet.png\">\n"
              "  <SUBTEXTURE Name=\"Tree\" X=\"1\" Y=\"2\" WIDTH=\"3\" Height=\"4\"/>\n"
              "  <subtexture name=\"tree\" x=\"5\" y=\"6\" width=\"7\" height=\"8\"/>\n"
              "</TextureAtlas>\n");
    c_TexturePage page(u"Graphics/Atlas.xml");
    ASSERT_TRUE(page.p_IsLoaded());
    auto upper = page.p_FindImage(u"Tree", 0);
    auto lower = page.p_FindImage(u"tree", 0);
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(lower, nullptr);
    EXPECT_EQ(upper->m_frames[0].m_x, 1);
    EXPECT_EQ(upper->p_Height(), 4);
    EXPECT_EQ(lower->m_frames[0].m_x, 5);
    EXPECT_EQ(lower->p_Height(), 8);
}

TEST_F(TexturePageTest, TheLaterEntryWinsAcrossThePageAndAcrossPages) {
    WriteAtlas("Graphics/First.xml",
               "<SubTexture name=\"Tree\" x=\"1\" y=\"1\" width=\"4\" height=\"4\"/>\n"
               "<SubTexture name=\"Tree\" x=\"9\" y=\"9\" width=\"5\" height=\"5\"/>\n");
    c_TexturePage first(u"Graphics/First.xml");
    EXPECT_EQ(first.p_FindImage(u"Tree", 0)->m_frames[0].m_x, 9);
    EXPECT_EQ(first.p_FindImage(u"Tree", 0)->p_Width(), 5);

    // The name map is shared: a second page's entry replaces the first page's.
    WriteAtlas("Graphics/Second.xml",
               "<SubTexture name=\"Tree\" x=\"30\" y=\"2\" width=\"6\" height=\"6\"/>\n");
    c_TexturePage second(u"Graphics/Second.xml");
    EXPECT_EQ(first.p_FindImage(u"Tree", 0)->m_frames[0].m_x, 30);
    EXPECT_EQ(c_TexturePage::m_imageList.size(), 1u);
}

TEST_F(TexturePageTest, DescriptionsThatCannotServeGiveUnloadedPages) {
    const struct {
        const char* what;
        const char* text; // null: no file at all
    } cases[] = {
        {"missing description", nullptr},
        {"empty description", ""},
        {"syntax error", "<TextureAtlas imagePath=\"Graphics/Sheet.png\">\n"
                         "<SubTexture name=\"Tree\" x=\"1\" y=\"1\" width=\"4\" height=\"4\"/>\n"},
        {"no TextureAtlas", "<Atlas imagePath=\"Graphics/Sheet.png\">"
                            "<SubTexture name=\"Tree\" x=\"1\" y=\"1\" width=\"4\" height=\"4\"/>"
                            "</Atlas>"},
        {"no SubTexture", "<TextureAtlas imagePath=\"Graphics/Sheet.png\"><Other/></TextureAtlas>"},
        {"missing sheet", "<TextureAtlas imagePath=\"Graphics/Missing.png\">"
                          "<SubTexture name=\"Tree\" x=\"1\" y=\"1\" width=\"4\" height=\"4\"/>"
                          "</TextureAtlas>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(dir / "Graphics/Atlas.xml");
        if (c.text)
            WriteText("Graphics/Atlas.xml", c.text);
        c_TexturePage page(u"Graphics/Atlas.xml");
        EXPECT_FALSE(page.p_IsLoaded());
        EXPECT_EQ(page.p_FindImage(u"Tree", 0), nullptr);
        EXPECT_TRUE(c_TexturePage::m_imageList.empty());
    }
}

TEST_F(TexturePageTest, ARectangleOutsideTheSheetEndsTheProgram) {
    WriteAtlas("Graphics/Atlas.xml",
               "<SubTexture name=\"Wide\" x=\"60\" y=\"0\" width=\"16\" height=\"4\"/>\n"
               "<SubTexture name=\"Deep\" x=\"0\" y=\"40\" width=\"4\" height=\"9\"/>\n"
               "<SubTexture name=\"Left\" x=\"-1\" y=\"0\" width=\"4\" height=\"4\"/>\n"
               "<SubTexture name=\"Above\" x=\"0\" y=\"-2\" width=\"4\" height=\"4\"/>\n"
               "<SubTexture name=\"Negative\" x=\"8\" y=\"8\" width=\"-4\" height=\"4\"/>\n"
               "<SubTexture name=\"Huge\" x=\"8\" y=\"8\" width=\"2147483647\" height=\"4\"/>\n"
               "<SubTexture name=\"Edge\" x=\"48\" y=\"24\" width=\"16\" height=\"24\"/>\n");
    c_TexturePage page(u"Graphics/Atlas.xml");
    ASSERT_TRUE(page.p_IsLoaded());
    for (const char16_t* name : {u"Wide", u"Deep", u"Left", u"Above", u"Negative", u"Huge"}) {
        const auto result = RunInChild([&] { page.p_FindImage(name, 0); });
        EXPECT_EQ(result.status, 255) << bb_narrow(name);
        EXPECT_EQ(result.out, "Zibbet Runtime Error : Image frame outside surface\n\n")
            << bb_narrow(name);
    }
    // A rectangle touching the right and bottom edges fits.
    auto edge = page.p_FindImage(u"Edge", 0);
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(edge->m_frames[0].m_x, 48);
    EXPECT_EQ(edge->m_frames[0].m_y, 24);
}

TEST_F(TexturePageTest, TheGameAtlasHandsOutEveryRectangleItNames) {
    UseDataFolder(bb_str(SKIDDLEWICK_DATA_DIR));
    c_TexturePage page(u"Graphics/Sprites.xml");
    ASSERT_TRUE(page.p_IsLoaded());

    std::ifstream file(SKIDDLEWICK_DATA_DIR "/Graphics/Sprites.xml", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    auto doc = bb_config_LoadConfig(bb_str(bytes));
    const auto entries = doc->p_FindNodesByPath(u"TextureAtlas/SubTexture");
    ASSERT_FALSE(entries.empty());
    for (const c_ConfigNode* entry : entries) {
        const String name = entry->p_GetAttribute(u"name", u"");
        auto image = page.p_FindImage(name, 0);
        ASSERT_NE(image, nullptr) << bb_narrow(name);
        EXPECT_EQ(image->m_frames[0].m_x,
                  bb_texturepage_ReadNumber(entry->p_GetAttribute(u"x", u"")));
        EXPECT_EQ(image->p_Width(),
                  bb_texturepage_ReadNumber(entry->p_GetAttribute(u"width", u"")));
        EXPECT_GT(image->p_Height(), 0) << bb_narrow(name);
    }
}

} // namespace
