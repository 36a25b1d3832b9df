// Writing mono samples as a 16-bit PCM WAV file or as an Ogg Vorbis file.
#pragma once

#include <filesystem>
#include <vector>

namespace assetgen {

void write_wav(const std::vector<float>& samples, int rate, const std::filesystem::path& path);

// Vorbis qualities (-0.1 to 1): the data folder's, and the page's, whose download is the cost.
inline constexpr float kDataQuality = 0.5f;
inline constexpr float kPageQuality = 0.2f;

// Encoded with a fixed stream serial number, so the same samples always give the same bytes.
void write_ogg(const std::vector<float>& samples, int rate, const std::filesystem::path& path,
               float quality = kDataQuality);

} // namespace assetgen
