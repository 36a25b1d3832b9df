// The WAV and Ogg Vorbis decoders and the choice between them, on files the tests write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "audio/audio_decoder.h"
#include "audio/audio_files_support.h"
#include "audio/ogg_decoder.h"
#include "audio/vorbis_stream.h"
#include "audio/wav_decoder.h"

namespace {

struct Decoded {
    SampleBlock block;
    int length = -1, channels = -1, format = -1, hertz = -1;

    bool Has(const Bytes& expected) const {
        return block && (expected.empty() ||
                         std::memcmp(block.get(), expected.data(), expected.size()) == 0);
    }
};

Decoded DecodeWav(const Bytes& bytes) {
    Decoded d;
    FilePtr file = OpenBytes(bytes);
    d.block.reset(LoadWAV(file.get(), &d.length, &d.channels, &d.format, &d.hertz));
    return d;
}

Decoded DecodeOgg(const Bytes& bytes) {
    Decoded d;
    FilePtr file = OpenBytes(bytes);
    d.block.reset(LoadOGG(file.get(), &d.length, &d.channels, &d.format, &d.hertz));
    return d;
}

Decoded DecodeNamed(const Bytes& bytes, const String& path) {
    Decoded d;
    FilePtr file = OpenBytes(bytes);
    d.block.reset(DecodeAudioFile(file.get(), path, &d.length, &d.channels, &d.format, &d.hertz));
    return d;
}

} // namespace

TEST(WavDecoder, GivesTheShapeOfEachPcmLayout) {
    struct Case {
        int channels, bits, bytes, length, format;
    };
    const Case cases[] = {
        {1, 8, 1000, 1000, 1}, {2, 8, 1000, 500, 1},  {1, 16, 1000, 500, 2},
        {2, 16, 1000, 250, 2}, {2, 16, 1001, 250, 2}, // a partial last frame is not counted
        {1, 8, 0, 0, 1},
    };
    for (const Case& c : cases) {
        Bytes samples = Ramp(std::size_t(c.bytes));
        Decoded d = DecodeWav(MakeWav(c.channels, c.bits, 22050, samples));
        SCOPED_TRACE(testing::Message() << c.channels << " ch, " << c.bits << " bits");
        ASSERT_TRUE(d.block);
        EXPECT_EQ(d.length, c.length);
        EXPECT_EQ(d.channels, c.channels);
        EXPECT_EQ(d.format, c.format);
        EXPECT_EQ(d.hertz, 22050);
        EXPECT_TRUE(d.Has(samples));
    }
}

TEST(WavDecoder, SkipsExtraFormatBytesAndForeignChunks) {
    const Bytes samples = Ramp(64);
    // An 18-byte format chunk (as many tools write it).
    EXPECT_TRUE(DecodeWav(WavWriter().Format(1, 1, 8000, 8, 2).Data(samples).Build()).Has(samples));
    // Chunks of other kinds between format and data, one of odd size with no pad byte.
    Decoded d = DecodeWav(WavWriter()
                              .Format(1, 2, 8000, 16)
                              .Chunk("LIST", Ramp(3))
                              .Chunk("fact", Ramp(4))
                              .Data(samples)
                              .Chunk("junk", Ramp(10))
                              .Build());
    EXPECT_EQ(d.length, 16);
    EXPECT_TRUE(d.Has(samples));
    // The first complete data chunk is the sound.
    EXPECT_TRUE(DecodeWav(WavWriter().Format(1, 1, 8000, 8).Data(samples).Data(Ramp(9)).Build())
                    .Has(samples));
}

TEST(WavDecoder, OddSizedChunksBeforeTheDataMayCarryTheirPadByte) {
    const Bytes samples = Ramp(64);
    Decoded d = DecodeWav(WavWriter()
                              .Format(1, 1, 8000, 8, 1)
                              .Pad()
                              .Chunk("LIST", Ramp(3))
                              .Pad()
                              .Chunk("fact", Ramp(4))
                              .Chunk("junk", Ramp(5))
                              .Data(samples)
                              .Build());
    EXPECT_EQ(d.length, 64);
    EXPECT_TRUE(d.Has(samples));
}

TEST(WavDecoder, RefusesWhatItCannotRead) {
    const Bytes samples = Ramp(100);
    Bytes notRiff = MakeWav(1, 8, 8000, samples);
    notRiff[0] = 'X';
    Bytes notWave = MakeWav(1, 8, 8000, samples);
    notWave[8] = 'X';
    const Bytes refused[] = {
        notRiff,
        notWave,
        WavWriter().Chunk("LIST", Ramp(4)).Format(1, 1, 8000, 8).Data(samples).Build(),
        WavWriter().Format(3, 1, 8000, 32).Data(samples).Build(), // float, not PCM
        WavWriter().Format(1, 0, 8000, 16).Data(samples).Build(), // no channels
        WavWriter().Format(1, 1, 8000, 4).Data(samples).Build(),  // under a byte a sample
        WavWriter().Format(1, 1, 8000, 0).Data(samples).Build(),
        WavWriter().Format(1, 1, 8000, 8).Build(), // no data at all
        WavWriter().Format(1, 1, 8000, 8).RawChunk("data", 1000, samples).Build(),
        WavWriter().Format(1, 1, 8000, 8).RawChunk("data", 0xFFFFFFF0u, samples).Build(),
        WavWriter().Format(1, 1, 8000, 8).RawChunk("LIST", 0xFFFFFFFFu, samples).Build(),
        Bytes{},
    };
    int index = 0;
    for (const Bytes& bytes : refused)
        EXPECT_FALSE(DecodeWav(bytes).block) << "case " << index++;
}

TEST(WavDecoder, RefusesEveryTruncation) {
    const Bytes whole =
        WavWriter().Format(1, 2, 8000, 16, 2).Chunk("LIST", Ramp(5)).Data(Ramp(40)).Build();
    ASSERT_TRUE(DecodeWav(whole).block);
    for (std::size_t size = 0; size < whole.size(); ++size)
        EXPECT_FALSE(DecodeWav(Bytes(whole.begin(), whole.begin() + long(size))).block)
            << size << " of " << whole.size() << " bytes";
}

TEST(OggDecoder, DecodesAShortStreamExactly) {
    Decoded d = DecodeOgg(MakeOgg(1000, 1, 22050));
    ASSERT_TRUE(d.block);
    EXPECT_EQ(d.length, 1000);
    EXPECT_EQ(d.channels, 1);
    EXPECT_EQ(d.format, 2);
    EXPECT_EQ(d.hertz, 22050);
}

TEST(OggDecoder, GrowsItsBufferForALongStream) {
    const int frames = 3 * 44100; // many times the first buffer's 4096 frames
    Decoded d = DecodeOgg(MakeOgg(frames, 2, 44100));
    ASSERT_TRUE(d.block);
    EXPECT_EQ(d.length, frames);
    EXPECT_EQ(d.channels, 2);
    // The tone (amplitude half of full scale) is there to the end, both channels alike.
    const short* s = d.block.get();
    int peak = 0;
    for (int i = frames - 4410; i < frames; ++i) {
        peak = std::max(peak, std::abs(int(s[2 * i])));
        EXPECT_NEAR(s[2 * i], s[2 * i + 1], 300);
    }
    EXPECT_NEAR(peak, 16384, 2000);
}

TEST(OggDecoder, ClampsSamplesFarBeyondFullScale) {
    // A damaged or hostile stream can decode to floats thousands of times full scale; they must
    // come out as the extreme 16-bit values, by defined arithmetic.
    Decoded d = DecodeOgg(MakeOgg(4000, 1, 8000, 5000.0f));
    ASSERT_TRUE(d.block);
    ASSERT_EQ(d.length, 4000);
    int lowest = 0, highest = 0;
    for (int i = 0; i < d.length; ++i) {
        lowest = std::min(lowest, int(d.block.get()[i]));
        highest = std::max(highest, int(d.block.get()[i]));
    }
    EXPECT_EQ(lowest, -32768);
    EXPECT_EQ(highest, 32767);
}

TEST(OggDecoder, RefusesWhatIsNotVorbis) {
    EXPECT_FALSE(DecodeOgg(Bytes{}).block);
    EXPECT_FALSE(DecodeOgg(Ramp(5000)).block);
    EXPECT_FALSE(DecodeOgg(MakeWav(1, 8, 8000, Ramp(100))).block);
    Bytes headerOnly = MakeOgg(1000, 1, 8000);
    headerOnly.resize(40);
    EXPECT_FALSE(DecodeOgg(headerOnly).block);
}

TEST(OggDecoder, RefusesCommentHeadersWhoseLengthsDoNotFit) {
    // The comment header: "\x03vorbis", the vendor length and text, the comment count, then
    // each comment's length and text. The encoder writes the vendor and no comments.
    const Bytes good = MakeOgg(1000, 1, 8000);
    const std::string marker = "\x03vorbis";
    const std::size_t at =
        std::search(good.begin(), good.end(), marker.begin(), marker.end()) - good.begin();
    ASSERT_LT(at, good.size());
    const std::size_t vendorLength = good[at + 7] | good[at + 8] << 8;
    const std::size_t countAt = at + 11 + vendorLength;
    ASSERT_EQ(good[countAt], 0);
    auto with = [&](std::size_t offset, std::uint32_t value) {
        Bytes bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = static_cast<unsigned char>(value >> 8 * i);
        return bytes;
    };
    const std::uint32_t lengths[] = {0xFFFFFFFFu, 0x80000000u, 0x51450C00u, 1000};
    for (std::uint32_t length : lengths) {
        EXPECT_FALSE(DecodeOgg(with(at + 7, length)).block) << "vendor length " << length;
        EXPECT_FALSE(DecodeOgg(with(countAt, length)).block) << "comment count " << length;
        // The streamed music takes the same look first.
        EXPECT_FALSE(VorbisStream::Open(with(at + 7, length), true)) << "vendor " << length;
        EXPECT_FALSE(VorbisStream::Open(with(countAt, length), true)) << "count " << length;
    }
    EXPECT_TRUE(DecodeOgg(with(countAt, 0)).block);
    EXPECT_TRUE(VorbisStream::Open(with(countAt, 0), true));
}

TEST(AudioDecoder, ChoosesByExtensionInAnyCase) {
    const Bytes wav = MakeWav(1, 8, 8000, Ramp(10));
    const Bytes ogg = MakeOgg(500, 1, 8000);
    EXPECT_EQ(DecodeNamed(wav, u"Sounds/Beep.wav").length, 10);
    EXPECT_EQ(DecodeNamed(wav, u"Sounds/BEEP.WAV").length, 10);
    EXPECT_EQ(DecodeNamed(ogg, u"zibbet://data/Sounds/Music.OGG").length, 500);
    EXPECT_EQ(DecodeNamed(ogg, u"music.Ogg").length, 500);
    EXPECT_FALSE(DecodeNamed(wav, u"Sounds/Beep.mp3").block);
    EXPECT_FALSE(DecodeNamed(wav, u"Sounds/wav").block);
    EXPECT_FALSE(DecodeNamed(ogg, u"Sounds/Music.wav").block); // the content must match
    EXPECT_FALSE(DecodeNamed(wav, u"Sounds/Beep.ogg").block);
}

TEST(AudioDecoder, DecodesEverySoundTheGameShips) {
    const std::filesystem::path sounds = std::filesystem::path(SKIDDLEWICK_DATA_DIR) / "Sounds";
    if (!std::filesystem::exists(sounds))
        GTEST_SKIP() << "no game data built";
    int decoded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sounds)) {
        const std::string path = entry.path().string();
        Decoded d = DecodeNamed(ReadFile(path), bb_str(path));
        ASSERT_TRUE(d.block) << path;
        EXPECT_GT(d.length, 0) << path;
        EXPECT_TRUE(d.channels == 1 || d.channels == 2) << path;
        EXPECT_TRUE(d.format == 1 || d.format == 2) << path;
        EXPECT_GE(d.hertz, 8000) << path;
        ++decoded;
    }
    EXPECT_GT(decoded, 0);
}
