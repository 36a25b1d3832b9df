// Puts relative asset paths under the data scheme; scheme, drive, "./" and absolute paths pass.
#pragma once

#include "runtime/string.h"

String bb_data_FixDataPath(const String& path);
