// Reading CMSK files: signature, big-endian header, run-length coded coverage. Every field is
// checked against the file before anything is read or allocated on its say-so.
#include "collision/master_mask.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <list>

#include "files/data_stream.h"
#include "runtime/errors.h"

namespace {

constexpr unsigned char kSignature[10] = {0x8B, 0x43, 0x4D, 0x53, 0x4B,
                                          0x0D, 0x0A, 0x1A, 0x0A, 0x00};

// Masks whose files are being read: each is owned here until its listener takes it.
std::list<std::unique_ptr<c_MasterMask>> bb_collisionmask__loading;

int ReadInt(const c_DataBuffer* buffer, int offset) {
    int value;
    std::memcpy(&value, buffer->ReadPointer(offset), sizeof value);
    return value;
}

// The most values a stream of `length` bytes can decode to: a run needs two bytes besides its
// value for at most 255 values, and a lone value one byte. An empty stream is left to the
// decoder, whose first read fails.
bool MayHoldValues(int length, long long count) {
    return length == 0 || count <= 255LL * ((length + 1) / 2) + 1;
}

} // namespace

String bb_collisionmask_ErrorMessage(CmskError error, const String& path) {
    switch (error) {
    case CmskError::kUnreadable:
        return u"The mask file '" + path + u"' could not be loaded.";
    case CmskError::kNotAMask:
        return u"The file '" + path + u"' is not a mask, or the file is corrupt.";
    case CmskError::kBadVersion:
        return u"The mask file '" + path +
               u"' cannot be used as only version 1 CMSK files are supported.";
    case CmskError::kCorrupt:
        return u"The mask file is corrupt.";
    case CmskError::kNone:
        break;
    }
    return String();
}

void bb_collisionmask_Init() {
    bb_collisionmask__loading.clear();
}

void bb_collisionmask_LoadMaskAsync(const String& path, int flags,
                                    c_IOnLoadMaskComplete* listener) {
    auto mask = std::make_unique<c_MasterMask>();
    mask->m_flags = flags;
    mask->m_onComplete = listener;
    c_MasterMask* loading = mask.get();
    bb_collisionmask__loading.push_back(std::move(mask));
    c_DataBuffer::m_LoadAsync(path, loading);
}

void c_MasterMask::p_OnLoadDataComplete(c_DataBuffer* buffer, const String& path) {
    p_CreateMasterMask(buffer, path);
    auto owned = std::find_if(bb_collisionmask__loading.begin(), bb_collisionmask__loading.end(),
                              [this](const auto& m) { return m.get() == this; });
    std::unique_ptr<c_MasterMask> self;
    if (owned != bb_collisionmask__loading.end()) {
        self = std::move(*owned);
        bb_collisionmask__loading.erase(owned);
    }
    // Cleared before the call: the listener owns this mask from then on and may drop it.
    c_IOnLoadMaskComplete* listener = m_onComplete;
    m_onComplete = nullptr;
    listener->p_OnLoadMaskComplete(std::move(self), path);
}

void c_MasterMask::p_CreateMasterMask(c_DataBuffer* buffer, const String& path) {
    const CmskError error = p_ReadMask(buffer);
    if (error != CmskError::kNone)
        bbError(bb_collisionmask_ErrorMessage(error, path));
    if (m_flags & 1)
        p_SetHandle(m_width * 0.5f, m_height * 0.5f);
    m_path = path;
}

CmskError c_MasterMask::p_ReadMask(c_DataBuffer* buffer) {
    if (!buffer)
        return CmskError::kUnreadable;
    if (!p_CheckSignature(buffer) || buffer->Length() < kHeaderSize)
        return CmskError::kNotAMask;
    p_SwitchIntEndianness(buffer, 10);
    if (ReadInt(buffer, 10) != 1)
        return CmskError::kBadVersion;
    p_FixEndian(buffer);
    const int dataOffset = ReadInt(buffer, 14);
    const int dataLength = ReadInt(buffer, 18);
    const int width = ReadInt(buffer, 22);
    const int height = ReadInt(buffer, 26);
    if (dataOffset < 0 || dataLength < 0 ||
        static_cast<long long>(dataOffset) + dataLength > buffer->Length()) {
        return CmskError::kCorrupt;
    }
    const long long count = static_cast<long long>(width) * height;
    if (width < 0 || height < 0 || count > INT_MAX || !MayHoldValues(dataLength, count)) {
        return CmskError::kCorrupt;
    }
    std::optional<std::vector<int>> data =
        p_RleDecode(buffer, dataOffset, dataLength, static_cast<int>(count));
    if (!data)
        return CmskError::kCorrupt;
    m_width = width;
    m_height = height;
    m_data = std::move(*data);
    return CmskError::kNone;
}

bool c_MasterMask::p_CheckSignature(const c_DataBuffer* buffer) {
    return buffer->Length() >= static_cast<int>(sizeof kSignature) &&
           std::memcmp(buffer->ReadPointer(), kSignature, sizeof kSignature) == 0;
}

void c_MasterMask::p_SwitchIntEndianness(c_DataBuffer* buffer, int offset) {
    std::reverse(buffer->WritePointer(offset), buffer->WritePointer(offset + 4));
}

void c_MasterMask::p_FixEndian(c_DataBuffer* buffer) {
    for (int offset : {14, 18, 22, 26})
        p_SwitchIntEndianness(buffer, offset);
}

std::optional<std::vector<int>> c_MasterMask::p_RleDecode(c_DataBuffer* buffer, int offset,
                                                          int length, int count) {
    c_DataStream stream(buffer, offset, length);
    std::vector<int> values;
    values.reserve(std::min(count, 1 << 16));
    // Never more than `count` values: a stream that would produce more is corrupt.
    auto output = [&](int value, int times) {
        if (static_cast<int>(values.size()) > count - times)
            return false;
        values.insert(values.end(), times, value);
        return true;
    };
    int pending = stream.p_ReadByte() & 0xFF;
    while (!stream.p_Eof()) {
        const int next = stream.p_ReadByte() & 0xFF;
        if (next != pending) {
            if (!output(pending, 1))
                return std::nullopt;
            pending = next;
            continue;
        }
        // Two equal bytes announce a run; the run's value stays pending at the stream's end.
        if (!output(pending, stream.p_ReadByte() & 0xFF))
            return std::nullopt;
        if (!stream.p_Eof())
            pending = stream.p_ReadByte() & 0xFF;
    }
    if (static_cast<int>(values.size()) < count)
        output(pending, 1);
    if (static_cast<int>(values.size()) != count)
        return std::nullopt;
    return values;
}

void c_MasterMask::p_SetHandle(float x, float y) {
    m_handleX = x;
    m_handleY = y;
}
