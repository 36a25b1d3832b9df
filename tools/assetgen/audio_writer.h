// Writing mono samples as a 16-bit PCM WAV file or as an Ogg Vorbis file.
#pragma once

#include <filesystem>
#include <vector>

namespace assetgen {

void write_wav(const std::vector<float>& samples, int rate, const std::filesystem::path& path);

// Encoded with a fixed stream serial number, so the same samples always give the same bytes.
void write_ogg(const std::vector<float>& samples, int rate, const std::filesystem::path& path);

} // namespace assetgen
