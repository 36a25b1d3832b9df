// WAV and Ogg Vorbis output.
#include "audio_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>

#include <vorbis/vorbisenc.h>

#include "text_source.h"

namespace assetgen {

namespace {

void put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void put32(std::string& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v & 0xFFFF));
    put16(out, static_cast<uint16_t>(v >> 16));
}

void write_bytes(const std::string& bytes, const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw AssetError(path.string() + ": cannot be written");
    }
}

} // namespace

void write_wav(const std::vector<float>& samples, int rate, const std::filesystem::path& path) {
    uint32_t data_size = static_cast<uint32_t>(samples.size() * 2);
    std::string out = "RIFF";
    put32(out, 36 + data_size);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, static_cast<uint32_t>(rate));
    put32(out, static_cast<uint32_t>(rate * 2));
    put16(out, 2);
    put16(out, 16);
    out += "data";
    put32(out, data_size);
    for (float s : samples) {
        long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        put16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
    }
    write_bytes(out, path);
}

void write_ogg(const std::vector<float>& samples, int rate, const std::filesystem::path& path,
               float quality) {
    constexpr int kSerial = 0x534B4957;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, rate, quality) != 0) {
        vorbis_info_clear(&info);
        throw AssetError("the Vorbis encoder refused the settings");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "Skiddlewick");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, kSerial);

    std::string out;
    ogg_page page;
    auto append_page = [&]() {
        out.append(reinterpret_cast<const char*>(page.header),
                   static_cast<size_t>(page.header_len));
        out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
    };
    ogg_packet header, header_comment, header_code;
    vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &header_comment);
    ogg_stream_packetin(&stream, &header_code);
    while (ogg_stream_flush(&stream, &page) != 0) {
        append_page();
    }

    constexpr size_t kChunk = 4096;
    size_t position = 0;
    bool done = false;
    while (!done) {
        size_t count = std::min(kChunk, samples.size() - position);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            std::copy(samples.begin() + static_cast<std::ptrdiff_t>(position),
                      samples.begin() + static_cast<std::ptrdiff_t>(position + count), buffer[0]);
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            position += count;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    append_page();
                    if (ogg_page_eos(&page)) {
                        done = true;
                    }
                }
            }
        }
        if (count == 0) {
            while (ogg_stream_flush(&stream, &page) != 0) {
                append_page();
            }
            done = true;
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    write_bytes(out, path);
}

} // namespace assetgen
