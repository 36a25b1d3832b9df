// Reading decimal integers the way the C library does: leading white space, an optional sign,
// then digits up to the first non-digit. Text without leading digits reads as 0, and a value
// too large for an int reads as the nearest int.
#pragma once

#include "runtime/string.h"

// Looks at the first `max_chars` code units only; any code unit outside ASCII ends the number.
int bb_parse_Int(const String& text, size_t max_chars = 63);
