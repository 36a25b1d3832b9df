// The large pictures (title artwork and backdrops) are small drawing programs: one command per
// line, in screen pixels, drawn on a grid of 2 x 2 blocks.
#pragma once

#include <filesystem>

#include "font_sheet.h"
#include "image.h"
#include "palette.h"
#include "sprite_library.h"

namespace assetgen {

Image run_picture_program(const std::filesystem::path& path, const Palette& palette,
                          const Font& font, const SpriteLibrary& sprites);

} // namespace assetgen
