// Opening and reading files by their 16-bit names.
#include "files/file_access.h"

FILE* bb_files_Open(const String& fileName, const String& mode) {
    if (fileName.empty())
        return nullptr;
    return std::fopen(bb_utf8_Encode(fileName).c_str(), bb_narrow(mode).c_str());
}

bool bb_files_ReadAll(FILE* file, std::string& bytes) {
    char block[4096];
    for (;;) {
        size_t n = std::fread(block, 1, sizeof block, file);
        bytes.append(block, n);
        if (n < sizeof block)
            break;
    }
    return !std::ferror(file);
}
