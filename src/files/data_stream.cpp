// Reading a window of a data buffer; every copy goes through the buffer's clipped copy.
#include "files/data_stream.h"

c_DataStream::c_DataStream(c_DataBuffer* buffer, int offset)
    : m_buffer(buffer), m_offset(offset), m_length(buffer->Length() - offset) {}

c_DataStream::c_DataStream(c_DataBuffer* buffer, int offset, int length)
    : m_buffer(buffer), m_offset(offset), m_length(length) {}

int c_DataStream::p_Read(c_DataBuffer& buffer, int offset, int count) {
    if (m_position + count > m_length)
        count = m_length - m_position;
    // A window that starts past its buffer's end has nothing in it; the position never goes back.
    if (count < 0)
        count = 0;
    m_buffer->p_CopyBytes(m_offset + m_position, buffer, offset, count);
    // The position moves by the count asked for within the window, even where the copy was cut
    // shorter by either buffer's end.
    m_position += count;
    return count;
}
