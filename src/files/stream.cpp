// The stream helpers shared by every reader: single bytes, exact counts and read-to-end.
#include "files/stream.h"

#include <vector>

std::unique_ptr<c_DataBuffer> c_Stream::m__tmp;

void bb_stream_Init() {
    c_Stream::m__tmp = std::make_unique<c_DataBuffer>(4096);
}

int c_Stream::p_ReadByte() {
    if (p_Read(*m__tmp, 0, 1) <= 0)
        p_ReadError();
    return m__tmp->PeekByte(0);
}

void c_Stream::p_ReadAll(c_DataBuffer& buffer, int offset, int count) {
    while (count > 0) {
        const int n = p_Read(buffer, offset, count);
        if (n <= 0)
            p_ReadError();
        offset += n;
        count -= n;
    }
}

std::unique_ptr<c_DataBuffer> c_Stream::p_ReadAll2() {
    constexpr int kChunk = 4096;
    std::vector<std::unique_ptr<c_DataBuffer>> full;
    auto chunk = std::make_unique<c_DataBuffer>(kChunk);
    int fill = 0;
    long long total = 0;
    for (;;) {
        const int n = p_Read(*chunk, fill, kChunk - fill);
        if (n < 1)
            break;
        fill += n;
        total += n;
        if (fill == kChunk) {
            full.push_back(std::move(chunk));
            chunk = std::make_unique<c_DataBuffer>(kChunk);
            fill = 0;
        }
    }
    auto result = std::make_unique<c_DataBuffer>(static_cast<int>(total));
    const int pushed = static_cast<int>(full.size());
    for (int k = 0; k < pushed; ++k)
        full[k]->p_CopyBytes(0, *result, k * kChunk, kChunk);
    chunk->p_CopyBytes(0, *result, pushed * kChunk, fill);
    return result;
}

void c_Stream::p_ReadError() {
    throw c_StreamReadError(this);
}
