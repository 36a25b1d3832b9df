// Readers for the generated data files, written from the file formats rather than shared with
// the generator, so that a fault in one is not mirrored in the other.
#include "assets_support.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>

#include <stb/stb_image.h>

namespace assets_test {

std::string data_path(const std::string& relative) {
    return std::string(SKIDDLEWICK_DATA_DIR) + "/" + relative;
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Picture load_picture(const std::string& path) {
    Picture picture;
    int channels = 0;
    unsigned char* data = stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 4);
    if (data == nullptr) {
        picture.width = picture.height = 0;
        return picture;
    }
    picture.rgba.assign(data, data + static_cast<size_t>(picture.width) * picture.height * 4);
    stbi_image_free(data);
    return picture;
}

AtlasDescription read_atlas(const std::string& path) {
    std::vector<uint8_t> bytes = read_bytes(path);
    std::string text(bytes.begin(), bytes.end());
    AtlasDescription atlas;
    std::smatch match;
    if (std::regex_search(text, match, std::regex("<TextureAtlas\\s+imagePath=\"([^\"]*)\""))) {
        atlas.image_path = match[1];
    }
    std::regex entry(
        "<SubTexture\\s+name=\"([^\"]*)\"\\s+x=\"(\\d+)\"\\s+y=\"(\\d+)\"\\s+width=\"(\\d+)\"\\s+"
        "height=\"(\\d+)\"\\s*/>");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), entry); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        atlas.sub_textures[m[1]] = {std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5])};
    }
    return atlas;
}

const std::vector<std::string>& atlas_names() {
    static const std::vector<std::string> names = {
        "AmbulanceRight", "BikeLeft", "BikeRight", "Bump", "CarRedLeft", "CarRedRight",
        "CarYellowLeft", "CarYellowRight", "Finish", "FlagCyan", "FlagRed", "TazzleSkiCrash1",
        "TazzleSkiCrash2", "TazzleSkiCrash3", "TazzleSkiCrash4", "TazzleSkiCrash5",
        "TazzleSkiCrash6", "TazzleSkiCrash7", "TazzleSkiCrash8", "TazzleSkiDown",
        "TazzleSkiDownLeft", "TazzleSkiDownRight", "TazzleSkiLeft", "TazzleSkiRight",
        "TazzleWalkDown1", "TazzleWalkDown1Dead", "TazzleWalkDown2", "TazzleWalkDown2Dead",
        "TazzleWalkDownSkis1", "TazzleWalkDownSkis1Dead", "TazzleWalkDownSkis2",
        "TazzleWalkDownSkis2Dead", "TazzleWalkLeft1", "TazzleWalkLeft1Dead", "TazzleWalkLeft2",
        "TazzleWalkLeft2Dead", "TazzleWalkLeftSkis1", "TazzleWalkLeftSkis1Dead",
        "TazzleWalkLeftSkis2", "TazzleWalkLeftSkis2Dead", "TazzleWalkRight1",
        "TazzleWalkRight1Dead", "TazzleWalkRight2", "TazzleWalkRight2Dead",
        "TazzleWalkRightSkis1", "TazzleWalkRightSkis1Dead", "TazzleWalkRightSkis2",
        "TazzleWalkRightSkis2Dead", "TazzleWalkUp1", "TazzleWalkUp1Dead", "TazzleWalkUp2",
        "TazzleWalkUp2Dead", "TazzleWalkUpSkis1", "TazzleWalkUpSkis1Dead", "TazzleWalkUpSkis2",
        "TazzleWalkUpSkis2Dead", "SkiHut", "SnowTile", "Tree", "TruckLeft", "TruckRight",
        "AmbulanceLeft", "Joystick"};
    return names;
}

const std::vector<std::pair<std::string, std::string>>& mask_sprites() {
    static const std::vector<std::pair<std::string, std::string>> pairs = [] {
        std::vector<std::pair<std::string, std::string>> list;
        for (const char* name :
             {"AmbulanceRight", "BikeLeft", "BikeRight", "CarRedLeft", "CarRedRight",
              "CarYellowLeft", "CarYellowRight", "TazzleSkiDown", "TazzleSkiDownLeft",
              "TazzleSkiDownRight", "TazzleSkiLeft", "TazzleSkiRight", "TazzleWalkDown1",
              "TazzleWalkDown2", "TazzleWalkDownSkis1", "TazzleWalkDownSkis2", "TazzleWalkLeft1",
              "TazzleWalkLeft2", "TazzleWalkLeftSkis1", "TazzleWalkLeftSkis2", "TazzleWalkRight1",
              "TazzleWalkRight2", "TazzleWalkRightSkis1", "TazzleWalkRightSkis2", "TazzleWalkUp1",
              "TazzleWalkUp2", "TazzleWalkUpSkis1", "TazzleWalkUpSkis2", "TruckLeft", "TruckRight",
              "AmbulanceLeft", "Finish"}) {
            list.emplace_back(name, name);
        }
        list.emplace_back("BumpCollision", "Bump");
        list.emplace_back("TreeCollision", "Tree");
        return list;
    }();
    return pairs;
}

namespace {

int32_t big_endian(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int32_t>(static_cast<uint32_t>(b[at]) << 24 | static_cast<uint32_t>(b[at + 1]) << 16 |
                                static_cast<uint32_t>(b[at + 2]) << 8 | b[at + 3]);
}

}  // namespace

Mask decode_cmsk(const std::vector<uint8_t>& file) {
    static const uint8_t signature[10] = {0x8B, 'C', 'M', 'S', 'K', 0x0D, 0x0A, 0x1A, 0x0A, 0x00};
    Mask mask;
    if (file.size() < 30 || !std::equal(signature, signature + 10, file.begin()) || big_endian(file, 10) != 1) {
        return mask;
    }
    int32_t offset = big_endian(file, 14), length = big_endian(file, 18);
    mask.width = big_endian(file, 22);
    mask.height = big_endian(file, 26);
    if (offset < 30 || length < 1 || static_cast<size_t>(offset) + length > file.size() || mask.width < 0 ||
        mask.height < 0) {
        return mask;
    }
    const size_t count = static_cast<size_t>(mask.width) * mask.height;
    size_t pos = static_cast<size_t>(offset), end = pos + static_cast<size_t>(length);
    uint8_t pending = file[pos++];
    auto emit = [&](uint8_t v, size_t n) {
        for (size_t i = 0; i < n; ++i) mask.coverage.push_back(v);
        return mask.coverage.size() <= count;
    };
    while (pos < end) {
        uint8_t b = file[pos++];
        if (b != pending) {
            if (!emit(pending, 1)) return mask;
            pending = b;
            continue;
        }
        if (pos >= end) return mask;  // two equal bytes with no run length
        if (!emit(pending, file[pos++])) return mask;
        if (pos < end) pending = file[pos++];
    }
    if (mask.coverage.size() < count && !emit(pending, 1)) return mask;
    mask.ok = mask.coverage.size() == count;
    return mask;
}

Wav read_wav(const std::string& path) {
    std::vector<uint8_t> b = read_bytes(path);
    Wav wav;
    auto u16 = [&](size_t at) { return static_cast<int>(b[at] | b[at + 1] << 8); };
    auto u32 = [&](size_t at) { return static_cast<uint32_t>(u16(at)) | static_cast<uint32_t>(u16(at + 2)) << 16; };
    auto tag = [&](size_t at, const char* t) { return at + 4 <= b.size() && std::equal(t, t + 4, b.begin() + static_cast<long>(at)); };
    if (b.size() < 44 || !tag(0, "RIFF") || !tag(8, "WAVE") || !tag(12, "fmt ") || u16(20) != 1) {
        return wav;
    }
    wav.channels = u16(22);
    wav.rate = static_cast<int>(u32(24));
    wav.bits = u16(34);
    size_t at = 20 + u32(16);
    while (at + 8 <= b.size()) {
        uint32_t size = u32(at + 4);
        if (tag(at, "data")) {
            if (at + 8 + size > b.size()) return wav;
            for (size_t i = 0; i + 1 < size; i += 2) {
                wav.samples.push_back(static_cast<int16_t>(u16(at + 8 + i)));
            }
            wav.ok = true;
            return wav;
        }
        at += 8 + size;
    }
    return wav;
}

}  // namespace assets_test
