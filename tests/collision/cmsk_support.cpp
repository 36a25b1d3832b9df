// CMSK files made by hand for the tests.
#include "collision/cmsk_support.h"

#include <cstring>

namespace {

void PutBigEndian(std::vector<unsigned char>& bytes, int value) {
    const unsigned v = static_cast<unsigned>(value);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back((v >> shift) & 0xFF);
}

} // namespace

std::vector<unsigned char> CmskBytes(const CmskFile& file, int cut) {
    std::vector<unsigned char> bytes = {0x8B, 'C', 'M', 'S', 'K', 0x0D, 0x0A, 0x1A, 0x0A, 0x00};
    PutBigEndian(bytes, file.version);
    PutBigEndian(bytes, file.dataOffset.value_or(30 + file.gap));
    PutBigEndian(bytes, file.dataLength.value_or(static_cast<int>(file.stream.size())));
    PutBigEndian(bytes, file.width);
    PutBigEndian(bytes, file.height);
    bytes.insert(bytes.end(), file.gap, 0xEE);
    for (int b : file.stream)
        bytes.push_back(b & 0xFF);
    if (cut >= 0 && cut < static_cast<int>(bytes.size()))
        bytes.resize(cut);
    return bytes;
}

std::unique_ptr<c_DataBuffer> CmskBuffer(const CmskFile& file, int cut) {
    const std::vector<unsigned char> bytes = CmskBytes(file, cut);
    auto buffer = std::make_unique<c_DataBuffer>(static_cast<int>(bytes.size()));
    if (!bytes.empty())
        std::memcpy(buffer->WritePointer(), bytes.data(), bytes.size());
    return buffer;
}
