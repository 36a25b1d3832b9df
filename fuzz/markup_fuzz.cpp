// Fuzz target for the markup parser: any text must end in a tree or an error, never a crash,
// a hang or runaway memory, and a tree must hold together (parents, lower-case names, values
// that are the concatenation of their segments).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "markup/config.h"

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool is_lower_name(const String& name) {
    for (char16_t c : name)
        if (!(c == u'_' || (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z')))
            return false;
    return true;
}

// Walks the tree without recursion and returns the path to the deepest node on the first
// branch, to exercise the path searches (empty when a name on it is empty).
String check_tree(c_Config& doc) {
    std::vector<c_ConfigNode*> pending{&doc};
    while (!pending.empty()) {
        c_ConfigNode* node = pending.back();
        pending.pop_back();
        for (const auto& attribute : node->m_attributes) {
            String joined;
            for (const String& segment : attribute->m_segments)
                joined += segment;
            require(joined == attribute->m_value);
            require(is_lower_name(attribute->m_name));
        }
        for (const auto& child : node->m_children) {
            require(child->m_parent == node);
            require(is_lower_name(child->m_name));
            require(child->m_line >= 1 && child->m_column >= 1);
            pending.push_back(child.get());
        }
    }
    String path;
    for (c_ConfigNode* node = &doc; !node->m_children.empty() && path.size() < 4096;) {
        node = node->m_children.front().get();
        if (node->m_name.empty())
            return String();
        path += (path.empty() ? u"" : u"/") + node->m_name;
    }
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const String text = bb_str(std::string_view(reinterpret_cast<const char*>(data), size));
    auto doc = bb_config_LoadConfig(text);
    if (doc->m_error) {
        require(doc->m_children.empty() && doc->m_attributes.empty());
        require(doc->m_error->m_line >= 1 && doc->m_error->m_column >= 1);
        require(!doc->m_error->m_message.empty());
        require(doc->p_FindNodeByPath(u"a") == nullptr);
        return 0;
    }
    const String path = check_tree(*doc);
    if (!path.empty()) {
        require(doc->p_FindNodeByPath(path) != nullptr);
        require(!doc->p_FindNodesByPath(path).empty());
    }
    return 0;
}
