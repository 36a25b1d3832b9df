// An element of a parsed markup document: its name, attributes, character data and children,
// and the slash-separated path searches over element names.
#pragma once

#include <memory>
#include <vector>

#include "markup/config_attribute.h"
#include "runtime/string.h"

class c_ConfigNode {
public:
    explicit c_ConfigNode(String name);
    // Tears the subtree down without recursion, so any nesting depth is safe.
    virtual ~c_ConfigNode();
    c_ConfigNode(const c_ConfigNode&) = delete;
    c_ConfigNode& operator=(const c_ConfigNode&) = delete;

    // Takes ownership of the child, makes this its parent and appends it. Returns the child.
    c_ConfigNode* p_AddChild(std::unique_ptr<c_ConfigNode> child);
    // The first attribute with this name (compared in lower case), or null.
    c_ConfigAttribute* p_GetConfigAttribute(const String& name) const;
    // The attribute's value, or defaultValue when there is no such attribute.
    String p_GetAttribute(const String& name, const String& defaultValue) const;
    // Replaces the value of an existing attribute or appends a new one. Returns the attribute.
    c_ConfigAttribute* p_SetAttribute(const String& name, const String& value);

    // "a/b/c": the first child named a, its first child named b, ... (names compared in lower
    // case). An empty path finds this node; an empty part or a missing name finds nothing (null).
    c_ConfigNode* p_FindNodeByPath(const String& path);
    // Every node reached by the path through any matching child at each step, in document
    // order. An empty path gives this node alone; nothing found gives an empty list.
    std::vector<c_ConfigNode*> p_FindNodesByPath(const String& path);

    String m_name;
    std::vector<std::unique_ptr<c_ConfigAttribute>> m_attributes;
    std::vector<std::unique_ptr<c_ConfigNode>> m_children;
    String m_value;
    int m_line = 0;
    int m_column = 0;
    c_ConfigNode* m_parent = nullptr;
};
