// Helpers for checking the generated data folder: reading PNGs, the atlas description, CMSK
// masks, WAV and Ogg files the way the game reads them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace assets_test {

std::string data_path(const std::string& relative); // a file in the build's data folder
std::vector<uint8_t> read_bytes(const std::string& path);

// Runs the built generator on an assets folder, writing out/data and out/review; its messages
// go to error_log when one is named. Returns what std::system returns.
int run_assetgen(const std::string& assets, const std::string& out,
                 const std::string& error_log = "");

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    uint8_t alpha(int x, int y) const { return rgba[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
    const uint8_t* pixel(int x, int y) const {
        return &rgba[(static_cast<size_t>(y) * width + x) * 4];
    }
};
Picture load_picture(const std::string& path); // empty (width 0) when it cannot be read

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};
struct AtlasDescription {
    std::string image_path;
    std::map<std::string, Rect> sub_textures;
};
AtlasDescription read_atlas(const std::string& path);

// The names the game looks up in the atlas, and the extra run-over frame.
const std::vector<std::string>& atlas_names();

// Each of the 34 mask files with the sprite whose shape it must have.
const std::vector<std::pair<std::string, std::string>>& mask_sprites();

struct Mask {
    int width = 0, height = 0;
    std::vector<uint8_t> coverage;
    bool ok = false;
};
Mask decode_cmsk(const std::vector<uint8_t>& file);

struct Wav {
    bool ok = false;
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
};
Wav read_wav(const std::string& path);
// The whole Vorbis stream as 16-bit samples; empty when it cannot be decoded.
std::vector<int16_t> decode_ogg(const std::string& path, int& channels, int& rate);

} // namespace assets_test
