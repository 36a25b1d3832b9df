// CMSK mask files: header and run-length coded coverage.
#include "mask_writer.h"

#include <fstream>

#include "text_source.h"

namespace assetgen {

namespace {

constexpr uint8_t kSignature[10] = {0x8B, 'C', 'M', 'S', 'K', 0x0D, 0x0A, 0x1A, 0x0A, 0x00};
constexpr int kHeaderSize = 30;

void put_int(std::vector<uint8_t>& out, int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(v >> shift));
    }
}

} // namespace

std::vector<uint8_t> rle_encode(const std::vector<uint8_t>& values) {
    std::vector<uint8_t> out;
    size_t i = 0;
    while (i < values.size()) {
        size_t run = 1;
        while (i + run < values.size() && values[i + run] == values[i]) {
            ++run;
        }
        uint8_t v = values[i];
        i += run;
        while (run > 0) {
            if (run == 1) {
                out.push_back(v);
                run = 0;
            } else {
                size_t length = run < 255 ? run : 255;
                out.insert(out.end(), {v, v, static_cast<uint8_t>(length)});
                run -= length;
            }
        }
    }
    return out;
}

std::vector<uint8_t> cmsk_file(const Image& sprite) {
    std::vector<uint8_t> coverage;
    coverage.reserve(static_cast<size_t>(sprite.width()) * sprite.height());
    for (int y = 0; y < sprite.height(); ++y) {
        for (int x = 0; x < sprite.width(); ++x) {
            coverage.push_back(sprite.at(x, y).a >= 128 ? 255 : 0);
        }
    }
    std::vector<uint8_t> stream = rle_encode(coverage);
    std::vector<uint8_t> file(std::begin(kSignature), std::end(kSignature));
    put_int(file, 1);
    put_int(file, kHeaderSize);
    put_int(file, static_cast<int32_t>(stream.size()));
    put_int(file, sprite.width());
    put_int(file, sprite.height());
    file.insert(file.end(), stream.begin(), stream.end());
    return file;
}

void write_mask(const Image& sprite, const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    std::vector<uint8_t> bytes = cmsk_file(sprite);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw AssetError(path.string() + ": cannot be written");
    }
}

} // namespace assetgen
