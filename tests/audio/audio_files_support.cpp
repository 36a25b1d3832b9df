// Sound files the audio tests make themselves.
#include "audio/audio_files_support.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <vorbis/vorbisenc.h>

namespace {

void Put32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void Put16(Bytes& out, int v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}
void PutTag(Bytes& out, const std::string& tag) {
    out.insert(out.end(), tag.begin(), tag.end());
}

} // namespace

FilePtr OpenBytes(const Bytes& bytes) {
    // A real file stream, seekable like the game's own, holding a copy of the bytes.
    std::FILE* file = std::tmpfile();
    if (!file)
        throw std::runtime_error("tmpfile failed");
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    return FilePtr(file);
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

WavWriter& WavWriter::RawChunk(const std::string& tag, std::uint32_t statedSize,
                               const Bytes& body) {
    PutTag(m_body, tag);
    Put32(m_body, statedSize);
    m_body.insert(m_body.end(), body.begin(), body.end());
    return *this;
}

WavWriter& WavWriter::Chunk(const std::string& tag, const Bytes& body) {
    return RawChunk(tag, std::uint32_t(body.size()), body);
}

WavWriter& WavWriter::Format(int audioFormat, int channels, int hertz, int bits, int extra) {
    Bytes body;
    Put16(body, audioFormat);
    Put16(body, channels);
    Put32(body, std::uint32_t(hertz));
    Put32(body, std::uint32_t(hertz * channels * bits / 8));
    Put16(body, channels * bits / 8);
    Put16(body, bits);
    body.insert(body.end(), std::size_t(extra), 0xAB);
    return Chunk("fmt ", body);
}

Bytes WavWriter::Build() const {
    Bytes out;
    PutTag(out, "RIFF");
    Put32(out, std::uint32_t(m_body.size() + 4));
    PutTag(out, "WAVE");
    out.insert(out.end(), m_body.begin(), m_body.end());
    return out;
}

Bytes MakeWav(int channels, int bits, int hertz, const Bytes& samples) {
    return WavWriter().Format(1, channels, hertz, bits).Data(samples).Build();
}

Bytes Ramp(std::size_t count) {
    Bytes out(count);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<unsigned char>(i * 7 + i / 256);
    return out;
}

Bytes Sine16(int frames, int channels, int hertz, double frequency, double amplitude) {
    Bytes out;
    for (int i = 0; i < frames; ++i) {
        int v = int(std::lround(32767.0 * amplitude *
                                std::sin(2.0 * M_PI * frequency * double(i) / double(hertz))));
        for (int c = 0; c < channels; ++c)
            Put16(out, v);
    }
    return out;
}

Bytes MakeOgg(int frames, int channels, int hertz, float amplitude) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, hertz, 0.1f) != 0)
        throw std::runtime_error("vorbis_encode_init_vbr failed");
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    Bytes out;
    ogg_page page;
    auto writePage = [&out, &page] {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    while (ogg_stream_flush(&stream, &page) != 0)
        writePage();

    auto drain = [&] {
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    writePage();
            }
        }
    };
    const int chunk = 1024;
    for (int done = 0; done < frames; done += chunk) {
        int count = std::min(chunk, frames - done);
        float** buffer = vorbis_analysis_buffer(&dsp, count);
        for (int i = 0; i < count; ++i)
            for (int c = 0; c < channels; ++c)
                buffer[c][i] = amplitude * std::sin(float(2.0 * M_PI * 440.0 * (done + i) / hertz));
        vorbis_analysis_wrote(&dsp, count);
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0); // end of stream
    drain();
    while (ogg_stream_flush(&stream, &page) != 0)
        writePage();
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}
