// The music: a note list (assets/music/*.notes) played by square-wave, triangle and noise
// voices in the manner of an 8-bit sound chip, rendered as a seamless loop.
#pragma once

#include <filesystem>
#include <vector>

namespace assetgen {

// Mono samples at kSampleRate. Notes that ring past the end of the loop wrap round to its
// start, so playing the result over and over has no gap and no click.
std::vector<float> render_music(const std::filesystem::path& path);

} // namespace assetgen
