// Data buffer storage and the clipped peek, poke and copy operations.
#include "files/data_buffer.h"

#include <algorithm>
#include <cstring>

#include "files/file_opener.h"
#include "runtime/errors.h"

bool BBDataBuffer::_New(int length, unsigned char* data) {
    if (_data || length < 0)
        return false;
    if (!data) {
        // One byte at least, so that a zero-length buffer still counts as holding storage.
        data = static_cast<unsigned char*>(std::calloc(std::max(length, 1), 1));
        if (!data)
            return false;
    }
    _data.reset(data);
    _length = length;
    return true;
}

void BBDataBuffer::Discard() {
    _data.reset();
    _length = 0;
}

c_DataBuffer::c_DataBuffer(int length) {
    if (!_New(length))
        bbError(u"Allocate DataBuffer failed");
}

int c_DataBuffer::ClipToLength(int address, int count) const {
    // An address outside the buffer is the caller's mistake; it copies nothing rather than
    // touching memory that is not ours.
    if (address < 0 || address > Length())
        return 0;
    if (static_cast<long long>(address) + count > Length())
        count = Length() - address;
    return count;
}

int c_DataBuffer::ClipToRoom(int offset, int size, int count) {
    if (offset < 0 || offset > size)
        return 0;
    return std::min(count, size - offset);
}

void c_DataBuffer::p_PeekBytes(int address, std::vector<int>& bytes, int offset, int count) const {
    count = ClipToLength(address, count);
    count = ClipToRoom(offset, static_cast<int>(bytes.size()), count);
    for (int i = 0; i < count; ++i)
        bytes[offset + i] = PeekByte(address + i);
}

std::vector<int> c_DataBuffer::p_PeekBytes2(int address, int count) const {
    count = ClipToLength(address, count);
    std::vector<int> bytes(std::max(count, 0));
    for (int i = 0; i < count; ++i)
        bytes[i] = PeekByte(address + i);
    return bytes;
}

void c_DataBuffer::p_PokeBytes(int address, const std::vector<int>& bytes, int offset, int count) {
    count = ClipToLength(address, count);
    count = ClipToRoom(offset, static_cast<int>(bytes.size()), count);
    for (int i = 0; i < count; ++i)
        PokeByte(address + i, bytes[offset + i]);
}

void c_DataBuffer::p_CopyBytes(int address, c_DataBuffer& dst, int dstAddress, int count) const {
    count = ClipToLength(address, count);
    count = ClipToRoom(dstAddress, dst.Length(), count);
    if (count < 1)
        return;
    // memmove keeps an overlapping copy within one buffer intact, whichever way it runs.
    std::memmove(dst.WritePointer(dstAddress), ReadPointer(address), count);
}

bool BBDataBuffer::_Load(const String& path) {
    if (_data || !bb_files_opener)
        return false;
    int length = 0;
    unsigned char* data = bb_files_LoadData(*bb_files_opener, path, &length);
    if (!data)
        return false;
    _data.reset(data);
    _length = length;
    return true;
}

bool BBDataBuffer::_LoadAsync(const String& path) {
    // A copy with storage of its own: the caller's string belongs to the main thread.
    const String privatePath(path.data(), path.size());
    return _Load(privatePath);
}
