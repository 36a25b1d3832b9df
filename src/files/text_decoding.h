// Whole-file text decoding: UTF-16 by byte-order mark, else UTF-8 (optional BOM), and when that
// fails every byte after the BOM as one character (Latin-1).
#pragma once

#include "runtime/string.h"

#include <string_view>

// The text of `bytes`. When the UTF-8 is invalid, `error` (if given) receives "Invalid UTF-8".
String bb_files_DecodeText(std::string_view bytes, String* error = nullptr);
