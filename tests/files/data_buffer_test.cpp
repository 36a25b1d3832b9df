// Data buffers and data streams: clipping, sign extension, overlapping copies and whole reads.
#include <gtest/gtest.h>

#include <cstring>

#include "common/child_process.h"
#include "files/data_buffer.h"
#include "files/data_stream.h"

namespace {

std::unique_ptr<c_DataBuffer> MakeBuffer(std::initializer_list<int> bytes) {
    auto buffer = std::make_unique<c_DataBuffer>(static_cast<int>(bytes.size()));
    buffer->p_PokeBytes(0, std::vector<int>(bytes), 0, static_cast<int>(bytes.size()));
    return buffer;
}

std::vector<int> Contents(const c_DataBuffer& buffer) {
    return buffer.p_PeekBytes2(0, buffer.Length());
}

class StreamTest : public ::testing::Test {
protected:
    void SetUp() override { bb_stream_Init(); }
};

} // namespace

TEST(DataBuffer, NewRefusesABufferThatHoldsStorage) {
    c_DataBuffer buffer;
    EXPECT_FALSE(buffer.HasStorage());
    EXPECT_EQ(buffer.Length(), 0);
    EXPECT_TRUE(buffer._New(8));
    EXPECT_EQ(buffer.Length(), 8);
    EXPECT_FALSE(buffer._New(16));
    EXPECT_EQ(buffer.Length(), 8);
    EXPECT_FALSE(c_DataBuffer()._New(-1));

    auto* block = static_cast<unsigned char*>(std::malloc(3));
    std::memcpy(block, "abc", 3);
    c_DataBuffer adopted;
    ASSERT_TRUE(adopted._New(3, block));
    EXPECT_EQ(adopted.ReadPointer(), block);
    EXPECT_EQ(Contents(adopted), (std::vector<int>{'a', 'b', 'c'}));
}

TEST(DataBuffer, AnImpossibleLengthIsFatal) {
    const ChildResult outcome = RunInChild([] { c_DataBuffer buffer(-1); });
    EXPECT_EQ(outcome.out, "Zibbet Runtime Error : Allocate DataBuffer failed\n\n");
    EXPECT_EQ(outcome.status, 255);
}

TEST(DataBuffer, DiscardEmptiesAndMayBeRepeated) {
    c_DataBuffer buffer(4);
    buffer.Discard();
    buffer.Discard();
    EXPECT_EQ(buffer.Length(), 0);
    EXPECT_FALSE(buffer.HasStorage());
    EXPECT_TRUE(buffer._New(2)); // an emptied buffer can be filled again
    c_DataBuffer zero(0);
    EXPECT_TRUE(zero.HasStorage());
}

TEST(DataBuffer, PeekSignExtendsAndPokeKeepsTheLowByte) {
    auto buffer_owner = MakeBuffer({0xFF, 0x8B, 0x7F, 0});
    c_DataBuffer& buffer = *buffer_owner;
    EXPECT_EQ(Contents(buffer), (std::vector<int>{-1, -117, 127, 0}));
    std::vector<int> out(4, 99);
    buffer.p_PeekBytes(0, out, 1, 2);
    EXPECT_EQ(out, (std::vector<int>{99, -1, -117, 99}));

    buffer.p_PokeBytes(0, {256, -1, 0x1234}, 0, 3);
    EXPECT_EQ(buffer.ReadPointer()[0], 0);
    EXPECT_EQ(buffer.ReadPointer()[1], 0xFF);
    EXPECT_EQ(buffer.ReadPointer()[2], 0x34);
}

TEST(DataBuffer, ByteOperationsClipToBothSides) {
    auto buffer_owner = MakeBuffer({1, 2, 3, 4});
    c_DataBuffer& buffer = *buffer_owner;
    EXPECT_EQ(buffer.p_PeekBytes2(0, 10).size(), 4u);
    EXPECT_TRUE(buffer.p_PeekBytes2(4, 3).empty());
    EXPECT_EQ(buffer.p_PeekBytes2(2, 10), (std::vector<int>{3, 4}));

    std::vector<int> small(3, 0);
    buffer.p_PeekBytes(0, small, 1, 4); // array room: 2
    EXPECT_EQ(small, (std::vector<int>{0, 1, 2}));

    buffer.p_PokeBytes(2, {9, 9, 9, 9}, 0, 4); // buffer room: 2
    EXPECT_EQ(Contents(buffer), (std::vector<int>{1, 2, 9, 9}));
    buffer.p_PokeBytes(0, {7, 8}, 1, 5); // array room: 1
    EXPECT_EQ(Contents(buffer), (std::vector<int>{8, 2, 9, 9}));

    c_DataBuffer dst(2);
    dst.p_PokeBytes(0, {0, 0}, 0, 2);
    buffer.p_CopyBytes(1, dst, 1, 3); // destination room: 1
    EXPECT_EQ(Contents(dst), (std::vector<int>{0, 2}));
    buffer.p_CopyBytes(0, dst, 0, -5); // nothing to copy
    buffer.p_CopyBytes(9, dst, 0, 2);  // outside the source: nothing
    EXPECT_EQ(Contents(dst), (std::vector<int>{0, 2}));
}

TEST(DataBuffer, OverlappingCopiesWithinOneBufferMoveTheBytesIntact) {
    auto up_owner = MakeBuffer({1, 2, 3, 4, 5});
    c_DataBuffer& up = *up_owner;
    up.p_CopyBytes(0, up, 1, up.Length()); // the last byte drops, byte 0 stays
    EXPECT_EQ(Contents(up), (std::vector<int>{1, 1, 2, 3, 4}));

    auto down_owner = MakeBuffer({1, 2, 3, 4, 5});
    c_DataBuffer& down = *down_owner;
    down.p_CopyBytes(1, down, 0, down.Length());
    EXPECT_EQ(Contents(down), (std::vector<int>{2, 3, 4, 5, 5}));
}

TEST_F(StreamTest, ReadStopsAtTheWindowEnd) {
    auto source_owner = MakeBuffer({10, 11, 12, 13, 14});
    c_DataBuffer& source = *source_owner;
    c_DataStream stream(&source, 1, 3);
    c_DataBuffer dst(10);
    EXPECT_EQ(stream.p_Read(dst, 0, 10), 3);
    EXPECT_TRUE(stream.p_Eof());
    EXPECT_EQ(dst.p_PeekBytes2(0, 3), (std::vector<int>{11, 12, 13}));
    EXPECT_EQ(stream.p_Read(dst, 0, 10), 0);

    c_DataStream rest(&source, 3);
    EXPECT_EQ(rest.m_length, 2);
    EXPECT_EQ(rest.p_ReadByte(), 13);
    EXPECT_EQ(rest.p_ReadByte(), 14);
    try {
        rest.p_ReadByte();
        FAIL() << "reading past the end must throw";
    } catch (const c_StreamReadError& error) {
        EXPECT_EQ(error.m_stream, &rest);
    }
}

TEST_F(StreamTest, AWindowPastTheBufferEndReadsNothing) {
    auto source_owner = MakeBuffer({1, 2});
    c_DataStream stream(source_owner.get(), 5);
    c_DataBuffer dst(4);
    EXPECT_EQ(stream.p_Read(dst, 0, 4), 0);
    EXPECT_EQ(stream.m_position, 0);
    EXPECT_THROW(stream.p_ReadByte(), c_StreamReadError);
    EXPECT_EQ(stream.p_ReadAll2()->Length(), 0);
}

TEST_F(StreamTest, ReadByteSignExtends) {
    auto source_owner = MakeBuffer({0xFF, 0x80});
    c_DataBuffer& source = *source_owner;
    c_DataStream stream(&source, 0);
    EXPECT_EQ(stream.p_ReadByte(), -1);
    EXPECT_EQ(stream.p_ReadByte(), -128);
}

TEST_F(StreamTest, ReadAllDeliversTheExactCountOrThrows) {
    auto source_owner = MakeBuffer({1, 2, 3});
    c_DataBuffer& source = *source_owner;
    c_DataStream stream(&source, 0);
    c_DataBuffer dst(4);
    dst.p_PokeBytes(0, {0, 0, 0, 0}, 0, 4);
    stream.p_ReadAll(dst, 1, 2);
    EXPECT_EQ(Contents(dst), (std::vector<int>{0, 1, 2, 0}));
    stream.p_ReadAll(dst, 0, 0); // nothing asked, nothing read
    EXPECT_THROW(stream.p_ReadAll(dst, 0, 2), c_StreamReadError);
}

TEST_F(StreamTest, ReadAllToEndAcrossChunkBoundaries) {
    for (int size : {0, 1, 4095, 4096, 4097, 3 * 4096 + 5}) {
        c_DataBuffer source(size + 2);
        for (int i = 0; i < size + 2; ++i)
            source.PokeByte(i, i * 7 + i / 4096);
        c_DataStream stream(&source, 2);
        std::unique_ptr<c_DataBuffer> all = stream.p_ReadAll2();
        ASSERT_EQ(all->Length(), size);
        EXPECT_EQ(std::memcmp(all->ReadPointer(), source.ReadPointer(2), size), 0) << size;
        EXPECT_TRUE(stream.p_Eof());
    }
}
