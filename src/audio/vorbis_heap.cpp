// A per-thread list of the heap blocks stb_vorbis holds, each block carrying its links in a
// small header in front of it.
#include "audio/vorbis_heap.h"

#include <cstdint>
#include <cstdlib>

namespace {

struct alignas(std::max_align_t) BlockHeader {
    BlockHeader* prev;
    BlockHeader* next;
};

// The largest single block stb_vorbis may have: far above what the set-up of a real stream
// takes, far below what would strain the machine.
constexpr std::size_t kMaxBlock = 256u << 20;

// The blocks taken on this thread and not yet freed; a circular list around its own head.
struct BlockList {
    BlockHeader head{&head, &head};
    int scopes = 0;
};
thread_local BlockList blocks;

void Link(BlockHeader* header) {
    header->prev = &blocks.head;
    header->next = blocks.head.next;
    blocks.head.next->prev = header;
    blocks.head.next = header;
}

void Unlink(BlockHeader* header) {
    header->prev->next = header->next;
    header->next->prev = header->prev;
}

BlockHeader* HeaderOf(void* block) {
    return static_cast<BlockHeader*>(block) - 1;
}

} // namespace

void* VorbisHeapAlloc(std::size_t size) {
    if (size > kMaxBlock)
        return nullptr;
    auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
    if (!header)
        return nullptr;
    Link(header);
    return header + 1;
}

void VorbisHeapFree(void* block) {
    if (!block)
        return;
    BlockHeader* header = HeaderOf(block);
    Unlink(header);
    std::free(header);
}

void* VorbisHeapRealloc(void* block, std::size_t size) {
    if (!block)
        return VorbisHeapAlloc(size);
    if (size > kMaxBlock)
        return nullptr;
    BlockHeader* header = HeaderOf(block);
    Unlink(header);
    auto* moved = static_cast<BlockHeader*>(std::realloc(header, sizeof(BlockHeader) + size));
    if (!moved) {
        Link(header); // the old block is still valid and still held
        return nullptr;
    }
    Link(moved);
    return moved + 1;
}

VorbisHeapScope::VorbisHeapScope() {
    ++blocks.scopes;
}

VorbisHeapScope::~VorbisHeapScope() {
    if (--blocks.scopes > 0)
        return;
    while (blocks.head.next != &blocks.head) {
        BlockHeader* header = blocks.head.next;
        Unlink(header);
        std::free(header);
    }
}
