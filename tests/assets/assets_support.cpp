// Reads the generated data files with the game's own readers (markup parser, mask reader, WAV
// and Ogg decoders), never with the generator's code, so that the files are checked the way the
// game will see them.
#include "assets_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include <stb/stb_image.h>

#include "audio/ogg_decoder.h"
#include "audio/wav_decoder.h"
#include "collision/master_mask.h"
#include "files/data_buffer.h"
#include "files/stream.h"
#include "markup/config.h"
#include "runtime/number_parse.h"
#include "runtime/string.h"

namespace assets_test {

std::string data_path(const std::string& relative) {
    return std::string(SKIDDLEWICK_DATA_DIR) + "/" + relative;
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

int run_assetgen(const std::string& assets, const std::string& out, const std::string& error_log) {
    std::string generator = std::string(SKIDDLEWICK_DATA_DIR) + "/../tools/assetgen/assetgen";
    std::string command =
        "'" + generator + "' '" + assets + "' '" + out + "/data' '" + out + "/review'";
    if (!error_log.empty())
        command += " 2> '" + error_log + "'";
    return std::system(command.c_str());
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
    // Read the way the game's atlas page reads it: the markup parser, then the TextureAtlas
    // element and its SubTexture children, numbers as the game parses them.
    std::vector<uint8_t> bytes = read_bytes(path);
    std::unique_ptr<c_Config> document =
        bb_config_LoadConfig(bb_str(std::string(bytes.begin(), bytes.end())));
    AtlasDescription atlas;
    c_ConfigNode* root = document->p_FindNodeByPath(u"TextureAtlas");
    if (document->m_error || root == nullptr) {
        return atlas;
    }
    atlas.image_path = bb_narrow(root->p_GetAttribute(u"imagePath", u""));
    for (c_ConfigNode* entry : document->p_FindNodesByPath(u"TextureAtlas/SubTexture")) {
        atlas.sub_textures[bb_narrow(entry->p_GetAttribute(u"name", u""))] = {
            bb_parse_Int(entry->p_GetAttribute(u"x", u"")),
            bb_parse_Int(entry->p_GetAttribute(u"y", u"")),
            bb_parse_Int(entry->p_GetAttribute(u"width", u"")),
            bb_parse_Int(entry->p_GetAttribute(u"height", u""))};
    }
    return atlas;
}

const std::vector<std::string>& atlas_names() {
    static const std::vector<std::string> names = {"AmbulanceRight",
                                                   "BikeLeft",
                                                   "BikeRight",
                                                   "Bump",
                                                   "CarRedLeft",
                                                   "CarRedRight",
                                                   "CarYellowLeft",
                                                   "CarYellowRight",
                                                   "Finish",
                                                   "FlagCyan",
                                                   "FlagRed",
                                                   "TazzleSkiCrash1",
                                                   "TazzleSkiCrash2",
                                                   "TazzleSkiCrash3",
                                                   "TazzleSkiCrash4",
                                                   "TazzleSkiCrash5",
                                                   "TazzleSkiCrash6",
                                                   "TazzleSkiCrash7",
                                                   "TazzleSkiCrash8",
                                                   "TazzleSkiDown",
                                                   "TazzleSkiDownLeft",
                                                   "TazzleSkiDownRight",
                                                   "TazzleSkiLeft",
                                                   "TazzleSkiRight",
                                                   "TazzleWalkDown1",
                                                   "TazzleWalkDown1Dead",
                                                   "TazzleWalkDown2",
                                                   "TazzleWalkDown2Dead",
                                                   "TazzleWalkDownSkis1",
                                                   "TazzleWalkDownSkis1Dead",
                                                   "TazzleWalkDownSkis2",
                                                   "TazzleWalkDownSkis2Dead",
                                                   "TazzleWalkLeft1",
                                                   "TazzleWalkLeft1Dead",
                                                   "TazzleWalkLeft2",
                                                   "TazzleWalkLeft2Dead",
                                                   "TazzleWalkLeftSkis1",
                                                   "TazzleWalkLeftSkis1Dead",
                                                   "TazzleWalkLeftSkis2",
                                                   "TazzleWalkLeftSkis2Dead",
                                                   "TazzleWalkRight1",
                                                   "TazzleWalkRight1Dead",
                                                   "TazzleWalkRight2",
                                                   "TazzleWalkRight2Dead",
                                                   "TazzleWalkRightSkis1",
                                                   "TazzleWalkRightSkis1Dead",
                                                   "TazzleWalkRightSkis2",
                                                   "TazzleWalkRightSkis2Dead",
                                                   "TazzleWalkUp1",
                                                   "TazzleWalkUp1Dead",
                                                   "TazzleWalkUp2",
                                                   "TazzleWalkUp2Dead",
                                                   "TazzleWalkUpSkis1",
                                                   "TazzleWalkUpSkis1Dead",
                                                   "TazzleWalkUpSkis2",
                                                   "TazzleWalkUpSkis2Dead",
                                                   "SkiHut",
                                                   "SnowTile",
                                                   "Tree",
                                                   "TruckLeft",
                                                   "TruckRight",
                                                   "AmbulanceLeft",
                                                   "Joystick"};
    return names;
}

const std::vector<std::pair<std::string, std::string>>& mask_sprites() {
    static const std::vector<std::pair<std::string, std::string>> pairs = [] {
        std::vector<std::pair<std::string, std::string>> list;
        for (const char* name : {"AmbulanceRight",
                                 "BikeLeft",
                                 "BikeRight",
                                 "CarRedLeft",
                                 "CarRedRight",
                                 "CarYellowLeft",
                                 "CarYellowRight",
                                 "TazzleSkiDown",
                                 "TazzleSkiDownLeft",
                                 "TazzleSkiDownRight",
                                 "TazzleSkiLeft",
                                 "TazzleSkiRight",
                                 "TazzleWalkDown1",
                                 "TazzleWalkDown2",
                                 "TazzleWalkDownSkis1",
                                 "TazzleWalkDownSkis2",
                                 "TazzleWalkLeft1",
                                 "TazzleWalkLeft2",
                                 "TazzleWalkLeftSkis1",
                                 "TazzleWalkLeftSkis2",
                                 "TazzleWalkRight1",
                                 "TazzleWalkRight2",
                                 "TazzleWalkRightSkis1",
                                 "TazzleWalkRightSkis2",
                                 "TazzleWalkUp1",
                                 "TazzleWalkUp2",
                                 "TazzleWalkUpSkis1",
                                 "TazzleWalkUpSkis2",
                                 "TruckLeft",
                                 "TruckRight",
                                 "AmbulanceLeft",
                                 "Finish"}) {
            list.emplace_back(name, name);
        }
        list.emplace_back("BumpCollision", "Bump");
        list.emplace_back("TreeCollision", "Tree");
        return list;
    }();
    return pairs;
}

Mask decode_cmsk(const std::vector<uint8_t>& file) {
    static const bool streams_ready = (bb_stream_Init(), true); // the reader's scratch buffer
    (void)streams_ready;
    Mask mask;
    c_DataBuffer buffer(static_cast<int>(file.size()));
    std::copy(file.begin(), file.end(), buffer.WritePointer());
    c_MasterMask reader;
    if (reader.p_ReadMask(&buffer) != CmskError::kNone) {
        return mask;
    }
    mask.width = reader.m_width;
    mask.height = reader.m_height;
    for (int v : reader.m_data)
        mask.coverage.push_back(static_cast<uint8_t>(v));
    mask.ok = mask.coverage.size() == static_cast<size_t>(mask.width) * mask.height;
    return mask;
}

Wav read_wav(const std::string& path) {
    Wav wav;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return wav;
    }
    int length = 0, format = 0;
    short* block = LoadWAV(file, &length, &wav.channels, &format, &wav.rate);
    std::fclose(file);
    if (block == nullptr) {
        return wav;
    }
    wav.bits = format * 8;
    if (format == 2) {
        wav.samples.assign(block, block + static_cast<size_t>(length) * wav.channels);
        wav.ok = true;
    }
    std::free(block);
    return wav;
}

std::vector<int16_t> decode_ogg(const std::string& path, int& channels, int& rate) {
    std::vector<int16_t> samples;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return samples;
    }
    int length = 0, format = 0;
    short* block = LoadOGG(file, &length, &channels, &format, &rate);
    std::fclose(file);
    if (block != nullptr && format == 2) {
        samples.assign(block, block + static_cast<size_t>(length) * channels);
    }
    std::free(block);
    return samples;
}

} // namespace assets_test
