// The game's mask set: all 34 files loaded on loader threads into their fields, the counting,
// and a missing file ending the program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "collision/cmsk_support.h"
#include "collision/game_masks.h"
#include "common/child_process.h"
#include "files/stream.h"
#include "support/data_dir_host.h"
#include "support/pump.h"

namespace {

namespace fs = std::filesystem;

class GameMasksTest : public ::testing::Test {
protected:
    void SetUp() override {
        bb_stream_Init();
        bb_asyncevent_Init();
        bb_masks_Init();
        dir = fs::path(::testing::TempDir()) / ("masks_" + std::to_string(::getpid()));
        fs::create_directories(dir / "Masks");
        host = std::make_unique<DataDirHost>(bb_str(dir.string()));
        // Mask number i is i + 1 pixels wide, so every field shows which file it holds.
        for (int i = 0; i < c_GameMasks::kMaskCount; ++i) {
            const int width = i + 1;
            std::vector<int> stream =
                width == 1 ? std::vector<int>{200} : std::vector<int>{200, 200, width};
            const std::vector<unsigned char> bytes =
                CmskBytes({.width = width, .height = 1, .stream = stream});
            std::ofstream(FileOf(c_GameMasks::p_MaskPath(i)), std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        }
    }
    void TearDown() override {
        PumpUntil([] { return bb_asyncevent__sources.empty(); });
        fs::remove_all(dir);
    }

    fs::path FileOf(const String& path) const {
        return fs::path(bb_utf8_Encode(host->PathToFilePath(path)));
    }

    fs::path dir;
    std::unique_ptr<DataDirHost> host;
};

} // namespace

TEST_F(GameMasksTest, LoadsEveryMaskIntoTheFieldOfItsFile) {
    c_GameMasks& masks = *bb_masks_gameMasks;
    masks.p_StartLoad();
    EXPECT_EQ(masks.m_loadState, 1);
    EXPECT_EQ(bb_asyncevent__sources.size(), 34u);
    masks.p_StartLoad(); // once started, nothing more
    EXPECT_EQ(bb_asyncevent__sources.size(), 34u);

    ASSERT_TRUE(PumpUntil([&] { return masks.p_IsLoaded(); }));
    EXPECT_EQ(masks.m_loadedCount, 34);
    struct Expected {
        const c_MasterMask* mask;
        int width;
    };
    const Expected expected[] = {
        {masks.m_ambulanceRight.get(), 1},
        {masks.m_bikeLeft.get(), 2},
        {masks.m_bikeRight.get(), 3},
        {masks.m_bumpCollision.get(), 4},
        {masks.m_carRedLeft.get(), 5},
        {masks.m_carRedRight.get(), 6},
        {masks.m_carYellowLeft.get(), 7},
        {masks.m_carYellowRight.get(), 8},
        {masks.m_tazzleSkiDown.get(), 9},
        {masks.m_tazzleSkiDownLeft.get(), 10},
        {masks.m_tazzleSkiDownRight.get(), 11},
        {masks.m_tazzleSkiLeft.get(), 12},
        {masks.m_tazzleSkiRight.get(), 13},
        {masks.m_tazzleWalkDown1.get(), 14},
        {masks.m_tazzleWalkDown2.get(), 15},
        {masks.m_tazzleWalkDownSkis1.get(), 16},
        {masks.m_tazzleWalkDownSkis2.get(), 17},
        {masks.m_tazzleWalkLeft1.get(), 18},
        {masks.m_tazzleWalkLeft2.get(), 19},
        {masks.m_tazzleWalkLeftSkis1.get(), 20},
        {masks.m_tazzleWalkLeftSkis2.get(), 21},
        {masks.m_tazzleWalkRight1.get(), 22},
        {masks.m_tazzleWalkRight2.get(), 23},
        {masks.m_tazzleWalkRightSkis1.get(), 24},
        {masks.m_tazzleWalkRightSkis2.get(), 25},
        {masks.m_tazzleWalkUp1.get(), 26},
        {masks.m_tazzleWalkUp2.get(), 27},
        {masks.m_tazzleWalkUpSkis1.get(), 28},
        {masks.m_tazzleWalkUpSkis2.get(), 29},
        {masks.m_treeCollision.get(), 30},
        {masks.m_truckLeft.get(), 31},
        {masks.m_truckRight.get(), 32},
        {masks.m_ambulanceLeft.get(), 33},
        {masks.m_finish.get(), 34},
    };
    for (const Expected& e : expected) {
        ASSERT_NE(e.mask, nullptr) << e.width;
        EXPECT_EQ(e.mask->m_width, e.width);
        EXPECT_EQ(e.mask->m_data, std::vector<int>(e.width, 200));
        EXPECT_EQ(e.mask->m_handleX, 0.0f); // game masks keep their handle top-left
        EXPECT_EQ(e.mask->m_onComplete, nullptr);
    }
    EXPECT_EQ(masks.m_finish->m_path, u"zibbet://data/Masks/Finish.cmsk");
}

TEST_F(GameMasksTest, EveryCompletionCountsWhateverItsPath) {
    c_GameMasks masks;
    masks.m_loadState = 1;
    masks.p_OnLoadMaskComplete(std::make_unique<c_MasterMask>(), u"zibbet://data/Masks/Nope.cmsk");
    masks.p_OnLoadMaskComplete(std::make_unique<c_MasterMask>(), u"Masks/Finish.cmsk");
    EXPECT_EQ(masks.m_loadedCount, 2);
    EXPECT_EQ(masks.m_finish, nullptr);

    auto second = std::make_unique<c_MasterMask>();
    c_MasterMask* kept = second.get();
    masks.p_OnLoadMaskComplete(std::make_unique<c_MasterMask>(), u"zibbet://data/Masks/Tree.cmsk");
    masks.p_OnLoadMaskComplete(std::make_unique<c_MasterMask>(),
                               u"zibbet://data/Masks/TreeCollision.cmsk");
    masks.p_OnLoadMaskComplete(std::move(second), u"zibbet://data/Masks/TreeCollision.cmsk");
    EXPECT_EQ(masks.m_treeCollision.get(), kept); // the later one replaces the earlier
    for (int i = masks.m_loadedCount; i < 33; ++i) {
        masks.p_OnLoadMaskComplete(nullptr, u"x");
    }
    EXPECT_EQ(masks.m_loadState, 1);
    masks.p_OnLoadMaskComplete(nullptr, u"x");
    EXPECT_TRUE(masks.p_IsLoaded());
}

TEST_F(GameMasksTest, AMissingOrBadFileEndsTheProgram) {
    // One fault at a time: which of two faulty files reports first depends on which loader
    // thread happens to finish first.
    fs::remove(FileOf(u"zibbet://data/Masks/BikeLeft.cmsk"));
    const ChildResult missing = RunInChild([] {
        bb_masks_gameMasks->p_StartLoad();
        PumpUntil([] { return bb_masks_gameMasks->p_IsLoaded(); });
    });
    EXPECT_THAT(missing.out,
                ::testing::StartsWith("Zibbet Runtime Error : The mask file "
                                      "'zibbet://data/Masks/BikeLeft.cmsk' could not be "
                                      "loaded.\n"));
    EXPECT_EQ(missing.status, 255);

    std::ofstream(FileOf(u"zibbet://data/Masks/TruckLeft.cmsk")) << "not a mask at all, no";
    const ChildResult single = RunInChild([] {
        struct Ignore : c_IOnLoadMaskComplete {
            void p_OnLoadMaskComplete(std::unique_ptr<c_MasterMask>, const String&) override {}
        } listener;
        bb_collisionmask_LoadMaskAsync(u"zibbet://data/Masks/TruckLeft.cmsk", 0, &listener);
        PumpUntil([] { return bb_asyncevent__sources.empty(); });
    });
    EXPECT_THAT(single.out,
                ::testing::StartsWith("Zibbet Runtime Error : The file "
                                      "'zibbet://data/Masks/TruckLeft.cmsk' is not a mask, or "
                                      "the file is corrupt.\n"));
    EXPECT_EQ(single.status, 255);
}

TEST(GameMasksOnTheDataFiles, EveryMaskDecodesWithSolidPixels) {
    bb_stream_Init();
    bb_asyncevent_Init();
    bb_masks_Init();
    DataDirHost host(bb_str(SKIDDLEWICK_DATA_DIR));
    c_GameMasks& masks = *bb_masks_gameMasks;
    masks.p_StartLoad();
    ASSERT_TRUE(PumpUntil([&] { return masks.p_IsLoaded(); }));
    const c_MasterMask* all[] = {
        masks.m_tazzleWalkDown1.get(),
        masks.m_tazzleWalkDown2.get(),
        masks.m_tazzleWalkLeft1.get(),
        masks.m_tazzleWalkLeft2.get(),
        masks.m_tazzleWalkRight1.get(),
        masks.m_tazzleWalkRight2.get(),
        masks.m_tazzleWalkUp1.get(),
        masks.m_tazzleWalkUp2.get(),
        masks.m_tazzleWalkDownSkis1.get(),
        masks.m_tazzleWalkDownSkis2.get(),
        masks.m_tazzleWalkLeftSkis1.get(),
        masks.m_tazzleWalkLeftSkis2.get(),
        masks.m_tazzleWalkRightSkis1.get(),
        masks.m_tazzleWalkRightSkis2.get(),
        masks.m_tazzleWalkUpSkis1.get(),
        masks.m_tazzleWalkUpSkis2.get(),
        masks.m_tazzleSkiDown.get(),
        masks.m_carYellowRight.get(),
        masks.m_carYellowLeft.get(),
        masks.m_carRedRight.get(),
        masks.m_carRedLeft.get(),
        masks.m_truckRight.get(),
        masks.m_truckLeft.get(),
        masks.m_ambulanceRight.get(),
        masks.m_ambulanceLeft.get(),
        masks.m_bikeRight.get(),
        masks.m_bikeLeft.get(),
        masks.m_treeCollision.get(),
        masks.m_bumpCollision.get(),
        masks.m_finish.get(),
        masks.m_tazzleSkiLeft.get(),
        masks.m_tazzleSkiDownLeft.get(),
        masks.m_tazzleSkiDownRight.get(),
        masks.m_tazzleSkiRight.get(),
    };
    for (const c_MasterMask* mask : all) {
        ASSERT_NE(mask, nullptr);
        EXPECT_GT(mask->m_width, 0) << bb_narrow(mask->m_path);
        EXPECT_GT(mask->m_height, 0) << bb_narrow(mask->m_path);
        ASSERT_EQ(mask->m_data.size(), static_cast<size_t>(mask->m_width) * mask->m_height);
        // Placed on itself, a mask with any solid pixel collides.
        EXPECT_TRUE(mask->p_CollideMask(0, 0, mask, 0, 0)) << bb_narrow(mask->m_path);
    }
}
