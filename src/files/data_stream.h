// A stream over a window of a data buffer, as the mask reader uses to walk a coverage stream.
#pragma once

#include "files/stream.h"

class c_DataStream : public c_Stream {
public:
    // The window from `offset` to the buffer's end.
    c_DataStream(c_DataBuffer* buffer, int offset);
    // An explicit window of `length` bytes from `offset`.
    c_DataStream(c_DataBuffer* buffer, int offset, int length);

    int p_Read(c_DataBuffer& buffer, int offset, int count) override;
    bool p_Eof() override { return m_position == m_length; }

    c_DataBuffer* m_buffer; // read from, not owned
    int m_offset;
    int m_length;
    int m_position = 0;
};
