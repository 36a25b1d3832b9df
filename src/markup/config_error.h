// A syntax error found while parsing a markup document: what went wrong and where.
#pragma once

#include "runtime/string.h"

class c_ConfigError {
public:
    c_ConfigError(String message, String sourceName, String context, int line, int column)
        : m_message(std::move(message)), m_sourceName(std::move(sourceName)),
          m_context(std::move(context)), m_line(line), m_column(column) {}

    String m_message;
    String m_sourceName;
    String m_context;
    int m_line;
    int m_column;
};
