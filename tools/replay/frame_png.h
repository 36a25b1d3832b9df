// The frame in the current read buffer as a PNG file: the part of a shot both builds share.
#pragma once

#include <string>

// Reads width x height pixels from the bottom-left corner of the read buffer and writes them as
// an RGB PNG, top row first, into a new file: one already there is never replaced, nor a link
// followed. False when the file cannot be written, with errno saying why.
bool WriteFramePng(int width, int height, const std::string& path);
