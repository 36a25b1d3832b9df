// Sequential readers over bytes: the abstract stream with its whole-read helpers, and the
// error it throws when it cannot deliver what was asked.
#pragma once

#include <memory>

#include "files/data_buffer.h"
#include "runtime/throwable.h"

class c_Stream {
public:
    virtual ~c_Stream() = default;

    // Reads up to `count` bytes into `buffer` at `offset`; the number read, 0 or less at the end.
    virtual int p_Read(c_DataBuffer& buffer, int offset, int count) = 0;
    virtual bool p_Eof() = 0;

    // The next byte, sign-extended; throws c_StreamReadError at the end.
    int p_ReadByte();
    // Exactly `count` bytes into `buffer` at `offset`; throws c_StreamReadError when short.
    void p_ReadAll(c_DataBuffer& buffer, int offset, int count);
    // The rest of the stream in one new buffer (of length 0 for an empty stream).
    std::unique_ptr<c_DataBuffer> p_ReadAll2();
    [[noreturn]] void p_ReadError();

    // Scratch target of single-byte reads, shared by every stream (main thread only).
    static std::unique_ptr<c_DataBuffer> m__tmp;
};

class c_StreamError : public ThrowableObject {
public:
    explicit c_StreamError(c_Stream* stream) : m_stream(stream) {}
    c_Stream* m_stream;
};

class c_StreamReadError : public c_StreamError {
public:
    using c_StreamError::c_StreamError;
};

// Creates the shared scratch buffer; called once at program initialisation.
void bb_stream_Init();
