// Markup elements: attribute access, children and path searches.
#include "markup/config_node.h"

namespace {
// Splits at every "/", keeping empty parts ("a//b" has an empty middle part).
std::vector<String> split_path(const String& path) {
    std::vector<String> parts;
    size_t start = 0;
    for (;;) {
        size_t slash = path.find(u'/', start);
        if (slash == String::npos) {
            parts.push_back(path.substr(start));
            return parts;
        }
        parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
}
} // namespace

c_ConfigNode::c_ConfigNode(String name) : m_name(std::move(name)) {}

c_ConfigNode::~c_ConfigNode() {
    // Detach every descendant into a flat list before it dies, so destroying a deeply nested
    // document never recurses.
    std::vector<std::unique_ptr<c_ConfigNode>> pending = std::move(m_children);
    while (!pending.empty()) {
        std::unique_ptr<c_ConfigNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->m_children)
            pending.push_back(std::move(child));
        node->m_children.clear();
    }
}

c_ConfigNode* c_ConfigNode::p_AddChild(std::unique_ptr<c_ConfigNode> child) {
    child->m_parent = this;
    m_children.push_back(std::move(child));
    return m_children.back().get();
}

c_ConfigAttribute* c_ConfigNode::p_GetConfigAttribute(const String& name) const {
    const String wanted = lower_attribute_name(name);
    for (const auto& attribute : m_attributes)
        if (attribute->m_name == wanted)
            return attribute.get();
    return nullptr;
}

String c_ConfigNode::p_GetAttribute(const String& name, const String& defaultValue) const {
    const c_ConfigAttribute* attribute = p_GetConfigAttribute(name);
    return attribute ? attribute->m_value : defaultValue;
}

c_ConfigAttribute* c_ConfigNode::p_SetAttribute(const String& name, const String& value) {
    if (c_ConfigAttribute* existing = p_GetConfigAttribute(name)) {
        existing->p_SetValue(value);
        return existing;
    }
    m_attributes.push_back(std::make_unique<c_ConfigAttribute>(name, value));
    return m_attributes.back().get();
}

c_ConfigNode* c_ConfigNode::p_FindNodeByPath(const String& path) {
    if (path.empty())
        return this;
    if (m_children.empty())
        return nullptr;
    c_ConfigNode* current = this;
    for (const String& part : split_path(bb_lower(path))) {
        if (part.empty() || current->m_children.empty())
            return nullptr;
        c_ConfigNode* next = nullptr;
        for (const auto& child : current->m_children) {
            if (child->m_name == part) {
                next = child.get();
                break;
            }
        }
        if (next == nullptr)
            return nullptr;
        current = next;
    }
    return current;
}

std::vector<c_ConfigNode*> c_ConfigNode::p_FindNodesByPath(const String& path) {
    if (path.empty())
        return {this};
    if (m_children.empty())
        return {};
    std::vector<c_ConfigNode*> current{this};
    for (const String& part : split_path(bb_lower(path))) {
        if (part.empty())
            return {};
        std::vector<c_ConfigNode*> next;
        for (c_ConfigNode* node : current)
            for (const auto& child : node->m_children)
                if (child->m_name == part)
                    next.push_back(child.get());
        current = std::move(next);
    }
    return current;
}
