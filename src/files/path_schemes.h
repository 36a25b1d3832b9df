// The host's path schemes: zibbet://data/, zibbet://internal/ and zibbet://external/ under the
// program directory; any other zibbet: path maps to nothing; everything else passes unchanged.
#pragma once

#include "runtime/string.h"

// The file name for `path`; empty when it names an unknown scheme.
String bb_files_MapSchemePath(const String& path, const String& programDir);
