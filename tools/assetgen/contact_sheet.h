// A review picture of every sprite, enlarged and labelled with its name.
#pragma once

#include "atlas_writer.h"
#include "font_sheet.h"
#include "image.h"

namespace assetgen {

Image contact_sheet(const Atlas& atlas, const Font& font);

} // namespace assetgen
