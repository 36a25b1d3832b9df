// The markup document: parses tag-and-attribute text into a tree of c_ConfigNode elements under
// itself (the root, named "root"), recording the first syntax error instead of a tree.
#pragma once

#include <memory>

#include "markup/config_error.h"
#include "markup/config_node.h"

class c_Config : public c_ConfigNode {
public:
    c_Config() : c_ConfigNode(u"root") {}

    // Builds the tree under this document from the text ("\r\n" read as "\n"). False after a
    // syntax error: then m_error says what and where, and the document has no attributes or
    // children.
    bool p_Parse(const String& text);
    // Records the error and empties the document's attributes and children. Returns false.
    bool p_SetError(const String& message, int line, int column, const String& context);

    String m_sourceName;
    String m_text;
    std::unique_ptr<c_ConfigError> m_error;
};

// Parses the text into a new document and returns it whether or not the parse succeeded.
std::unique_ptr<c_Config> bb_config_LoadConfig(const String& text);
