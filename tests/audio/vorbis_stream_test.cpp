// The piecewise Vorbis decoder that streams the music: its pieces put together are the whole
// decode, a looping stream starts over exactly, and what is not Vorbis is refused.
#include <gtest/gtest.h>

#include <vector>

#include "audio/audio_files_support.h"
#include "audio/ogg_decoder.h"
#include "audio/vorbis_stream.h"

namespace {

std::vector<short> DecodeWhole(const Bytes& bytes) {
    FilePtr file = OpenBytes(bytes);
    int length = 0, channels = 0, format = 0, hertz = 0;
    SampleBlock block(LoadOGG(file.get(), &length, &channels, &format, &hertz));
    if (!block)
        return {};
    return {block.get(), block.get() + static_cast<std::ptrdiff_t>(length) * channels};
}

// Reads pieces of `piece` frames until `frames` frames have come or the stream gives none.
std::vector<short> ReadPieces(VorbisStream& stream, int piece, int frames) {
    std::vector<short> out;
    std::vector<short> buffer(static_cast<std::size_t>(piece) * stream.Channels());
    while (static_cast<int>(out.size()) < frames * stream.Channels()) {
        const int got = stream.Read(buffer.data(), piece);
        if (got == 0)
            break;
        out.insert(out.end(), buffer.begin(), buffer.begin() + got * stream.Channels());
    }
    return out;
}

} // namespace

TEST(VorbisStream, ItsPiecesAreTheWholeDecodeAndThenItEnds) {
    const Bytes bytes = MakeOgg(20000, 2, 22050);
    const std::vector<short> whole = DecodeWhole(bytes);
    ASSERT_EQ(whole.size(), 40000u);
    auto stream = VorbisStream::Open(bytes, false);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->Channels(), 2);
    EXPECT_EQ(stream->Hertz(), 22050);
    EXPECT_EQ(ReadPieces(*stream, 3000, 1000000), whole);
    EXPECT_TRUE(stream->Ended());
    short rest[16];
    EXPECT_EQ(stream->Read(rest, 8), 0);
}

TEST(VorbisStream, ALoopingStreamStartsOverWithoutAGapOrAnEnd) {
    const Bytes bytes = MakeOgg(5000, 1, 22050);
    const std::vector<short> whole = DecodeWhole(bytes);
    ASSERT_EQ(whole.size(), 5000u);
    auto stream = VorbisStream::Open(bytes, true);
    ASSERT_TRUE(stream);
    // Pieces longer than the stream start it over within one read.
    const std::vector<short> played = ReadPieces(*stream, 8192, 3 * 8192);
    ASSERT_EQ(played.size(), 3u * 8192u);
    for (std::size_t i = 0; i < played.size(); ++i)
        ASSERT_EQ(played[i], whole[i % whole.size()]) << "sample " << i;
    EXPECT_FALSE(stream->Ended());
}

TEST(VorbisStream, RefusesWhatIsNotVorbis) {
    EXPECT_FALSE(VorbisStream::Open({}, true));
    EXPECT_FALSE(VorbisStream::Open(Ramp(5000), true));
    EXPECT_FALSE(VorbisStream::Open(MakeWav(1, 8, 8000, Ramp(100)), false));
    Bytes headerOnly = MakeOgg(1000, 1, 8000);
    headerOnly.resize(40);
    EXPECT_FALSE(VorbisStream::Open(headerOnly, true));
}

TEST(VorbisStream, EveryTruncationIsRefusedOrPlaysWhatItHolds) {
    // A cut file opens only with its headers whole; a looping one then plays the samples it
    // still holds over and over, and one that holds none ends instead of starting over forever.
    const Bytes full = MakeOgg(44100, 1, 44100);
    std::vector<short> piece(4096);
    int opened = 0, empty = 0;
    for (std::size_t size = 0; size < full.size(); size += 7) {
        auto stream = VorbisStream::Open(Bytes(full.begin(), full.begin() + size), true);
        if (!stream)
            continue;
        ++opened;
        int total = 0;
        for (int read = 0; read < 8; ++read)
            total += stream->Read(piece.data(), 4096);
        EXPECT_EQ(total == 0, stream->Ended()) << size << " bytes";
        empty += total == 0;
    }
    EXPECT_GT(opened, 0);
    EXPECT_GT(empty, 0);
}
