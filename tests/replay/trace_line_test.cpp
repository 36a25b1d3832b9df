// The trace line's common fields and the reverse lookup of atlas names.
#include "replay/atlas_names.h"
#include "replay/trace_line.h"

#include "game/random.h"
#include "game/tazzle.h"
#include "graphics/image.h"
#include "graphics/texture_page.h"
#include "persist/settings.h"

#include <gtest/gtest.h>

namespace {

TEST(TraceLine, WritesTheCommonFieldsInOrder) {
    bb_tazzle_Init();
    bb_tazzle_mainState = 3;
    bb_tazzle_score = 125;
    bb_tazzle_hiScore = 990;
    bb_tazzle_money = -10;
    bb_tazzle_level = 2;
    bb_tazzle_gotSkis = true;
    bb_tazzle_skiDamage = 3;
    bb_tazzle_lastScoreUpdate = 1000;
    bb_tazzle_paused = true;
    bb_random_Seed = 4294967295u;
    auto savedSettings = std::move(bb_settings_gameSettings);
    bb_settings_gameSettings = std::make_unique<c_Settings>();
    bb_settings_gameSettings->m_difficulty = c_Difficulty::Hard;
    EXPECT_EQ(TraceLine(17, {37, 40}),
              "u=17 main=3 keys=37,40 difficulty=2 score=125 hi=990 money=-10 level=2 skis=1 "
              "damage=3 mark=1000 paused=1 seed=4294967295");
    EXPECT_EQ(TraceLine(1, {}).substr(0, 21), "u=1 main=3 keys= diff");
    bb_settings_gameSettings = std::move(savedSettings);
    bb_tazzle_Init();
}

TEST(TraceLine, FieldsAndListsJoinWithoutStraySeparators) {
    TraceFields fields;
    fields.Add("a", 1);
    fields.AddList("cars", {}, ';');
    fields.AddList("slope", {"T:64:432", "G:80:400:3"}, ';');
    fields.Add("b", "x");
    EXPECT_EQ(fields.Text(), "a=1 cars= slope=T:64:432;G:80:400:3 b=x");
    EXPECT_EQ(JoinValues({}, ','), "");
    EXPECT_EQ(JoinValues({4, -2, 0}, ','), "4,-2,0");
}

// An image cut from a sheet image as the atlas page cuts it: frame at the rectangle's corner,
// padding flags trimming one pixel from each side.
struct Sheet {
    std::unique_ptr<c_Image> sheet = c_Image::m_new();
    std::unique_ptr<c_Image> Cut(int x, int y, int w, int h, int flags) {
        auto image = c_Image::m_new();
        image->m_frames = {c_Frame(x, y)};
        image->m_width = w;
        image->m_height = h;
        image->m_source = sheet.get();
        image->m_flags = flags;
        image->p_ApplyFlags(flags);
        return image;
    }
};

TEST(AtlasName, FindsTheNamedRectangleAnImageWasCutFrom) {
    auto& names = c_TexturePage::m_imageList;
    auto saved = std::move(names);
    names.clear();
    names[u"CarRedLeft"] = std::make_unique<c_TexturePageData>(0, 0, 64, 32);
    names[u"TruckRight"] = std::make_unique<c_TexturePageData>(64, 0, 96, 48);
    names[u"Tree"] = std::make_unique<c_TexturePageData>(0, 32, 32, 32);
    Sheet sheet;
    sheet.sheet->m_frames = {c_Frame(0, 0)};

    EXPECT_EQ(AtlasName(sheet.Cut(64, 0, 96, 48, 0).get()), "TruckRight");
    EXPECT_EQ(AtlasName(sheet.Cut(0, 32, 32, 32, c_Image::m_PaddedX | c_Image::m_PaddedY).get()),
              "Tree");
    EXPECT_EQ(AtlasName(sheet.Cut(0, 0, 64, 32, c_Image::m_PaddedX).get()), "CarRedLeft");
    EXPECT_EQ(AtlasName(sheet.Cut(1, 0, 64, 32, 0).get()), "?");
    EXPECT_EQ(AtlasName(nullptr), "-");
    auto loose = c_Image::m_new();
    loose->m_frames = {c_Frame(0, 0)};
    loose->m_width = 64;
    loose->m_height = 32;
    EXPECT_EQ(AtlasName(loose.get()), "?");
    names = std::move(saved);
}

} // namespace
