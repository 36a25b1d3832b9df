// A growable block of bytes on the C heap, handed over to whoever frees it.
#include "audio/heap_block.h"

HeapBlock::HeapBlock(std::size_t capacity) {
    // malloc(0) may give null; one byte keeps "empty" meaning "allocation failed".
    m_bytes.reset(static_cast<unsigned char*>(std::malloc(capacity ? capacity : 1)));
    if (m_bytes)
        m_capacity = capacity;
}

bool HeapBlock::Grow(std::size_t capacity) {
    if (capacity <= m_capacity)
        return true;
    void* grown = std::realloc(m_bytes.get(), capacity);
    if (!grown)
        return false;
    (void)m_bytes.release();
    m_bytes.reset(static_cast<unsigned char*>(grown));
    m_capacity = capacity;
    return true;
}

void* HeapBlock::Release() {
    m_capacity = 0;
    return m_bytes.release();
}
