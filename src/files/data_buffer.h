// Blocks of raw bytes with a known length: the host-side storage (BBDataBuffer) and the game's
// byte operations on it (c_DataBuffer), all clipped to what the buffers hold.
#pragma once

#include <cstdlib>
#include <memory>
#include <vector>

#include "runtime/string.h"

class c_IOnLoadDataComplete;

class BBDataBuffer {
public:
    BBDataBuffer() = default;
    BBDataBuffer(const BBDataBuffer&) = delete;
    BBDataBuffer& operator=(const BBDataBuffer&) = delete;
    virtual ~BBDataBuffer() = default;

    // Gives an empty buffer its storage: `data` (a malloc'd block, adopted) when given, else
    // `length` fresh bytes. False when the buffer already holds storage, the length is negative
    // or the heap refuses.
    bool _New(int length, unsigned char* data = nullptr);
    // Reads the whole file into an empty buffer through the host's file opener. True when the
    // buffer holds storage afterwards; a buffer that already holds storage loads nothing and gives
    // false.
    bool _Load(const String& path);
    // The loader-thread form of _Load: works on a private copy of the path's characters, so
    // nothing is shared with the main thread's strings.
    bool _LoadAsync(const String& path);
    // Frees the storage; harmless on an empty buffer.
    void Discard();

    int Length() const { return _length; }
    bool HasStorage() const { return _data != nullptr; }
    const unsigned char* ReadPointer(int offset = 0) const { return _data.get() + offset; }
    unsigned char* WritePointer(int offset = 0) { return _data.get() + offset; }

private:
    struct FreeDeleter {
        void operator()(unsigned char* p) const { std::free(p); }
    };
    std::unique_ptr<unsigned char, FreeDeleter> _data;
    int _length = 0;
};

class c_DataBuffer : public BBDataBuffer {
public:
    // An empty buffer, to be filled by a load.
    c_DataBuffer() = default;
    // `length` bytes of zeroed storage; "Allocate DataBuffer failed" when they cannot be had.
    explicit c_DataBuffer(int length);

    // Starts loading the whole file at `path` into a new buffer on a loader thread; the
    // listener gets it (or null) on the main thread. Defined with the data loader.
    static void m_LoadAsync(const String& path, c_IOnLoadDataComplete* onComplete);

    // Copies up to `count` bytes from `address` into `bytes` from index `offset`, each
    // sign-extended.
    void p_PeekBytes(int address, std::vector<int>& bytes, int offset, int count) const;
    // The bytes from `address` on (at most `count`), sign-extended, in a new array.
    std::vector<int> p_PeekBytes2(int address, int count) const;
    // Writes the low 8 bits of `bytes` from index `offset` on into the buffer from `address`.
    void p_PokeBytes(int address, const std::vector<int>& bytes, int offset, int count);
    // Copies `count` bytes from `address` into `dst` at `dstAddress`; `dst` may be this buffer
    // and the ranges may overlap.
    void p_CopyBytes(int address, c_DataBuffer& dst, int dstAddress, int count) const;

    // A single byte, sign-extended / written from the low 8 bits. The address must lie inside.
    int PeekByte(int address) const { return static_cast<signed char>(*ReadPointer(address)); }
    void PokeByte(int address, int value) { *WritePointer(address) = value & 0xFF; }

private:
    // The count cut to what this buffer holds from `address`.
    int ClipToLength(int address, int count) const;
    // The count cut to the room left from `offset` in a target of `size` elements.
    static int ClipToRoom(int offset, int size, int count);
};
