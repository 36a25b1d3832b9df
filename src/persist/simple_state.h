// A flat key/value store of strings, kept as one line of text in the host's state file.
#pragma once

#include <map>

#include "runtime/string.h"

class c_SimpleState {
public:
    void p_Clear();
    // The value stored under the key, or the empty string.
    String p_Get(const String& key) const;
    void p_Set2(const String& key, const String& value);
    int p_Count() const { return static_cast<int>(m_map.size()); }

    // Encodes every entry and hands the text to the host's state file (the result is ignored).
    void p_Save() const;
    // Replaces the whole contents with what the host's state file holds.
    void p_Load();

    // The saved form: "key=value" entries in ascending key order joined by ",", with "\", ","
    // and "=" escaped by a backslash.
    String p_Encode() const;
    // Replaces the whole contents with the entries of the text (any text is accepted).
    void p_Decode(const String& text);

    // std::u16string compares code unit by code unit as unsigned numbers, shorter prefix first.
    std::map<String, String> m_map;
};
