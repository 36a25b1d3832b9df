// Building CMSK files byte by byte for the mask tests.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "files/data_buffer.h"

struct CmskFile {
    int version = 1;
    int width = 0;
    int height = 0;
    std::vector<int> stream;                      // the coverage stream
    int gap = 0;                                  // ignored bytes between the header and the stream
    std::optional<int> dataOffset = std::nullopt; // default: right after the header and the gap
    std::optional<int> dataLength = std::nullopt; // default: the stream's length
};

// The file's bytes; `cut` (when not negative) keeps only that many.
std::vector<unsigned char> CmskBytes(const CmskFile& file, int cut = -1);
std::unique_ptr<c_DataBuffer> CmskBuffer(const CmskFile& file, int cut = -1);
