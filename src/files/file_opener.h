// Opening files by the game's paths ("zibbet://data/...", plain names) for the modules below
// the host. The host implements the opener with its path mapping and registers itself while it
// lives, so data buffers and loaders read through files/ without knowing the host.
#pragma once

#include <cstdio>

#include "runtime/string.h"

class BBFileOpener {
public:
    virtual ~BBFileOpener() = default;
    // Null when the path maps to nothing or the file cannot be opened.
    virtual FILE* OpenFile(const String& path, const String& mode) = 0;
};

// The host's opener while the host exists; null before and after.
extern BBFileOpener* bb_files_opener;

// The whole file in one block from malloc (the caller frees it with free()); null when it cannot
// be opened or read whole, or holds more than 2 GiB.
unsigned char* bb_files_LoadData(BBFileOpener& opener, const String& path, int* length);
