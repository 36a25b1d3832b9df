// The key/value state store: escaping, the one-line saved form and its tolerant reader.

#include "persist/simple_state.h"

#include "host/app.h"

namespace {

String Escape(const String& text) {
    String out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c == u'\\' || c == u',' || c == u'=')
            out += u'\\';
        out += c;
    }
    return out;
}

} // namespace

void c_SimpleState::p_Clear() {
    m_map.clear();
}

String c_SimpleState::p_Get(const String& key) const {
    auto it = m_map.find(key);
    return it == m_map.end() ? String() : it->second;
}

void c_SimpleState::p_Set2(const String& key, const String& value) {
    m_map[key] = value;
}

String c_SimpleState::p_Encode() const {
    String text;
    for (const auto& [key, value] : m_map) {
        if (!text.empty())
            text += u',';
        text += Escape(key);
        text += u'=';
        text += Escape(value);
    }
    return text;
}

void c_SimpleState::p_Decode(const String& text) {
    p_Clear();
    String key;
    String value;
    bool escaped = false;
    bool inValue = false;
    for (char16_t c : text) {
        String& buffer = inValue ? value : key;
        if (escaped) {
            buffer += c;
            escaped = false;
        } else if (c == u'\\') {
            escaped = true;
        } else if (c == u'=') {
            inValue = true; // a second "=" in the same entry is dropped
        } else if (c == u',') {
            m_map[key] = value;
            key.clear();
            value.clear();
            inValue = false;
        } else {
            buffer += c;
        }
    }
    // The last entry is stored whatever it holds, so an empty text gives one empty entry.
    m_map[key] = value;
}

void c_SimpleState::p_Save() const {
    bb_app_SaveState(p_Encode());
}

void c_SimpleState::p_Load() {
    p_Decode(bb_app_LoadState());
}
