// Opening and reading files by their 16-bit names: the name goes to the system as UTF-8.
#pragma once

#include "runtime/string.h"

#include <cstdio>
#include <string>

// Null for an empty name or a file that cannot be opened.
FILE* bb_files_Open(const String& fileName, const String& mode);
// Reads from the current position to the end in 4096-byte blocks; false on a read error.
bool bb_files_ReadAll(FILE* file, std::string& bytes);
