// Collision masks in the CMSK format, made from a sprite's alpha channel.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "image.h"

namespace assetgen {

// The run-length code of the coverage values: a single value v is stored as v, a run of L
// equal values (2..255) as v, v, L; longer runs are split.
std::vector<uint8_t> rle_encode(const std::vector<uint8_t>& values);

// The whole file: signature, version 1, header fields big-endian, then the coded coverage,
// 255 where the sprite's alpha is at least 128 and 0 elsewhere.
std::vector<uint8_t> cmsk_file(const Image& sprite);

void write_mask(const Image& sprite, const std::filesystem::path& path);

} // namespace assetgen
