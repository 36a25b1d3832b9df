// The atlas name of a sprite: which named rectangle of the texture atlas an image was cut from,
// found from the image's own frame, so the game needs no extra bookkeeping for the trace.
#pragma once

#include <string>

class c_Image;

// The name under which the atlas lists the image's rectangle (the first in name order when
// several names share one rectangle); "-" for no image, "?" for an image not cut from an atlas.
std::string AtlasName(const c_Image* image);
