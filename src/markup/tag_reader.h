// Reads the inside of one markup tag (after "<" or "</", before ">" or "/>"): the element name
// and the attributes with their values and operators.
#pragma once

#include <cstddef>
#include <optional>

#include "markup/config_node.h"
#include "runtime/string.h"

// A syntax error at a character of the document.
struct MarkupSyntaxError {
    String message;
    size_t index;
};

// Reads text[begin, end) into the node: its lower-cased name and its attributes. The text must
// extend past end (the tag's closing bracket follows). Returns the first error, if any.
std::optional<MarkupSyntaxError> read_tag_content(const String& text, size_t begin, size_t end,
                                                  c_ConfigNode& node);
