// A growable block of bytes on the C heap. The decoders hand their samples to the host and the
// audio device as malloc'd memory that the receiver frees with free(); this keeps that memory
// owned until the moment it is handed over.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

class HeapBlock {
public:
    // Holds at least `capacity` bytes; an allocation failure leaves the block empty.
    explicit HeapBlock(std::size_t capacity);

    // Grows to at least `capacity` bytes, keeping the contents; false when the heap refuses.
    bool Grow(std::size_t capacity);

    unsigned char* Bytes() const { return m_bytes.get(); }
    std::size_t Capacity() const { return m_capacity; }
    bool Empty() const { return !m_bytes; }

    // Gives the memory to the caller, who frees it with free().
    void* Release();

private:
    struct FreeDeleter {
        void operator()(unsigned char* bytes) const { std::free(bytes); }
    };
    std::unique_ptr<unsigned char, FreeDeleter> m_bytes;
    std::size_t m_capacity = 0;
};
