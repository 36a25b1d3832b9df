// Whole files read through the host's opener.
#include "files/file_opener.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/file_access.h"

BBFileOpener* bb_files_opener = nullptr;

unsigned char* bb_files_LoadData(BBFileOpener& opener, const String& path, int* length) {
    FILE* file = opener.OpenFile(path, u"rb");
    if (!file)
        return nullptr;
    std::string bytes;
    bool complete = bb_files_ReadAll(file, bytes);
    std::fclose(file);
    if (!complete || bytes.size() > static_cast<size_t>(INT32_MAX))
        return nullptr;
    // One byte at least, so that an empty file still gives a block to own.
    auto* block = static_cast<unsigned char*>(std::malloc(bytes.size() ? bytes.size() : 1));
    if (!block)
        return nullptr;
    std::memcpy(block, bytes.data(), bytes.size());
    if (length)
        *length = static_cast<int>(bytes.size());
    return block;
}
