// The upper-case names of key codes shown on the title and redefine-keys screens.
#pragma once

#include "runtime/string.h"

// The key's name (or "UNKNOWN"), padded with spaces to `width`; never cut.
String bb_settings_KeyCodeToName(int keyCode, int width);
