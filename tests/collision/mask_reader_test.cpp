// Reading CMSK files: the run-length decoder, the header checks and the exact fatal messages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "collision/cmsk_support.h"
#include "collision/master_mask.h"
#include "common/child_process.h"
#include "files/stream.h"
#include "host/bb_game.h"

namespace {

class MaskReaderTest : public ::testing::Test {
protected:
    void SetUp() override { bb_stream_Init(); }
};

std::optional<std::vector<int>> Decode(const std::vector<int>& stream, int count) {
    auto buffer = CmskBuffer({.stream = stream});
    return c_MasterMask::p_RleDecode(buffer.get(), 30, static_cast<int>(stream.size()), count);
}

String Path(const char16_t* name) {
    return String(u"zibbet://data/Masks/") + name;
}

} // namespace

TEST_F(MaskReaderTest, DecodesRunsAndSingleValues) {
    struct Case {
        const char* what;
        std::vector<int> stream;
        int count;
        std::vector<int> values;
    };
    const Case cases[] = {
        {"the worked example", {0, 0, 3, 255, 7}, 5, {0, 0, 0, 255, 7}},
        {"a run filling the mask at the end", {5, 5, 3}, 3, {5, 5, 5}},
        {"a run at the end, one value short", {5, 5, 3}, 4, {5, 5, 5, 5}},
        {"a trailing single byte", {1, 2}, 2, {1, 2}},
        {"a lone byte", {200}, 1, {200}},
        {"a zero-length run", {9, 9, 0, 4}, 1, {4}},
        {"a run followed by its own value", {7, 7, 2, 7}, 3, {7, 7, 7}},
        {"runs back to back", {1, 1, 2, 1, 1, 2}, 4, {1, 1, 1, 1}},
        {"a full-length run", {128, 128, 255}, 255, std::vector<int>(255, 128)},
        {"an empty mask", {3}, 0, {}},
    };
    for (const Case& c : cases) {
        std::optional<std::vector<int>> values = Decode(c.stream, c.count);
        ASSERT_TRUE(values.has_value()) << c.what;
        EXPECT_EQ(*values, c.values) << c.what;
    }
}

TEST_F(MaskReaderTest, DecodingToAnyOtherCountIsCorrupt) {
    EXPECT_FALSE(Decode({1, 2, 3, 4}, 2)); // a third value is output before the end
    EXPECT_FALSE(Decode({1}, 3));          // too few
    EXPECT_FALSE(Decode({7, 7, 10}, 5));   // a run that would pass the end
    EXPECT_FALSE(Decode({4, 4, 2, 9, 8}, 2));
    // Once the mask is full, a last pending byte is simply not needed.
    EXPECT_EQ(Decode({1, 2, 3}, 2), (std::vector<int>{1, 2}));
}

TEST_F(MaskReaderTest, AStreamCutInsideARunIsAReadError) {
    EXPECT_THROW(Decode({}, 1), c_StreamReadError);
    EXPECT_THROW(Decode({3, 3}, 2), c_StreamReadError);
    EXPECT_THROW(Decode({1, 3, 3}, 3), c_StreamReadError);
}

TEST_F(MaskReaderTest, AReadErrorReachesTheHostAsAnUncaughtException) {
    // The mask is read during an update; nothing on the way catches the stream error.
    struct Reader : BBGameDelegate {
        void UpdateGame() override {
            auto buffer = CmskBuffer({.width = 2, .height = 1, .stream = {3, 3}});
            c_MasterMask mask;
            mask.p_CreateMasterMask(buffer.get(), Path(u"Bump.cmsk"));
        }
    };
    const ChildResult outcome = RunInChild([] {
        BBGame game;
        Reader reader;
        game.SetDelegate(&reader);
        game.StartGame();
        game.UpdateGame();
    });
    EXPECT_EQ(outcome.out, "Zibbet Runtime Error : Uncaught Zibbet Exception\n\n");
    EXPECT_EQ(outcome.status, 255);
}

TEST_F(MaskReaderTest, AnEmptyStreamIsAReadErrorWhateverTheMasksSize) {
    for (int side : {1, 2, 64}) {
        auto buffer = CmskBuffer({.width = side, .height = side, .stream = {}});
        c_MasterMask mask;
        EXPECT_THROW(mask.p_ReadMask(buffer.get()), c_StreamReadError) << side;
    }
}

TEST_F(MaskReaderTest, ReadsAWholeFileAndPlacesTheHandle) {
    auto buffer =
        CmskBuffer({.width = 3, .height = 2, .stream = {0, 0, 2, 200, 9, 9, 2}, .gap = 5});
    c_MasterMask mask;
    mask.m_flags = 1;
    mask.p_CreateMasterMask(buffer.get(), Path(u"Tree.cmsk"));
    EXPECT_EQ(mask.m_width, 3);
    EXPECT_EQ(mask.m_height, 2);
    EXPECT_EQ(mask.m_data, (std::vector<int>{0, 0, 200, 9, 9, 9}));
    EXPECT_FLOAT_EQ(mask.m_handleX, 1.5f);
    EXPECT_FLOAT_EQ(mask.m_handleY, 1.0f);
    EXPECT_EQ(mask.m_path, Path(u"Tree.cmsk"));
    EXPECT_EQ(mask.m_threshold, 128);

    auto plain = CmskBuffer({.width = 2, .height = 1, .stream = {1, 2}});
    c_MasterMask corner;
    corner.p_CreateMasterMask(plain.get(), Path(u"Bump.cmsk"));
    EXPECT_EQ(corner.m_handleX, 0.0f);
    EXPECT_EQ(corner.m_handleY, 0.0f);
}

TEST_F(MaskReaderTest, SignatureNeedsAllTenBytes) {
    auto good = CmskBuffer({.width = 1, .height = 1, .stream = {1}});
    EXPECT_TRUE(c_MasterMask::p_CheckSignature(good.get()));
    EXPECT_FALSE(c_MasterMask::p_CheckSignature(CmskBuffer({}, 9).get()));
    good->PokeByte(4, 'k');
    EXPECT_FALSE(c_MasterMask::p_CheckSignature(good.get()));
}

TEST_F(MaskReaderTest, EveryBadFileEndsTheProgramWithItsMessage) {
    const String path = Path(u"CarRedLeft.cmsk");
    const std::string notAMask =
        "The file 'zibbet://data/Masks/CarRedLeft.cmsk' is not a mask, or the file is corrupt.";
    const std::string corrupt = "The mask file is corrupt.";
    const CmskFile good = {.width = 2, .height = 2, .stream = {4, 4, 4}};
    struct Case {
        const char* what;
        CmskFile file;
        int cut;
        std::string message;
        int tamperAt = -1; // a byte to overwrite after building the file
    };
    const Case cases[] = {
        {"a file shorter than its signature", good, 6, notAMask},
        {"a file shorter than its header", good, 29, notAMask},
        {"a wrong signature", good, -1, notAMask, 3},
        {"version 2",
         {.version = 2, .width = 2, .height = 2, .stream = {4, 4, 4}},
         -1,
         "The mask file 'zibbet://data/Masks/CarRedLeft.cmsk' cannot be used as only version 1 "
         "CMSK files are supported."},
        {"a data offset past the end",
         {.width = 2, .height = 2, .stream = {4, 4, 4}, .dataOffset = 34},
         -1,
         corrupt},
        {"a negative data offset",
         {.width = 2, .height = 2, .stream = {4, 4, 4}, .dataOffset = -8},
         -1,
         corrupt},
        {"a data length past the end",
         {.width = 2, .height = 2, .stream = {4, 4, 4}, .dataLength = 4},
         -1,
         corrupt},
        {"a negative data length",
         {.width = 2, .height = 2, .stream = {4, 4, 4}, .dataLength = INT_MIN},
         -1,
         corrupt},
        {"an offset and length that overflow",
         {.width = 2, .height = 2, .stream = {4, 4, 4}, .dataLength = INT_MAX},
         -1,
         corrupt},
        {"a negative width", {.width = -2, .height = 2, .stream = {4, 4, 4}}, -1, corrupt},
        {"both sides negative", {.width = -2, .height = -2, .stream = {4, 4, 4}}, -1, corrupt},
        {"a size that overflows",
         {.width = 65536, .height = 65536, .stream = {4, 4, 4}},
         -1,
         corrupt},
        {"a size the stream cannot fill",
         {.width = 4096, .height = 4096, .stream = {4, 4, 4}},
         -1,
         corrupt},
        {"a stream one value short", {.width = 2, .height = 3, .stream = {4, 4, 4}}, -1, corrupt},
        {"a stream one value long", {.width = 3, .height = 1, .stream = {4, 4, 4}}, -1, corrupt},
    };
    for (const Case& c : cases) {
        auto buffer = CmskBuffer(c.file, c.cut);
        if (c.tamperAt >= 0)
            buffer->PokeByte(c.tamperAt, 'x');
        const ChildResult outcome = RunInChild([&] {
            c_MasterMask mask;
            mask.p_CreateMasterMask(buffer.get(), path);
        });
        EXPECT_THAT(outcome.out,
                    ::testing::StartsWith("Zibbet Runtime Error : " + c.message + "\n"))
            << c.what;
        EXPECT_EQ(outcome.status, 255) << c.what;
    }

    const ChildResult missing = RunInChild([&] {
        c_MasterMask mask;
        mask.p_CreateMasterMask(nullptr, path);
    });
    EXPECT_THAT(missing.out,
                ::testing::StartsWith("Zibbet Runtime Error : The mask file "
                                      "'zibbet://data/Masks/CarRedLeft.cmsk' could not be "
                                      "loaded.\n"));
    EXPECT_EQ(missing.status, 255);
}
