// Markup attributes: name lower-casing and the segmented value.
#include "markup/config_attribute.h"

#include <cwctype>

String lower_attribute_name(const String& name) {
    String out = name;
    for (char16_t& c : out)
        c = static_cast<char16_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

c_ConfigAttribute::c_ConfigAttribute(const String& name, const String& value)
    : m_name(lower_attribute_name(name)) {
    p_SetValue(value);
}

void c_ConfigAttribute::p_SetValue(const String& value) {
    m_segments.assign(1, value);
    p_UpdateValue();
}

void c_ConfigAttribute::p_AddSegment(const String& segment) {
    m_segments.push_back(segment);
    // Appending keeps m_value equal to the concatenation without re-joining every segment, so a
    // value of many pieces costs linear time, not quadratic.
    m_value += segment;
}

void c_ConfigAttribute::p_UpdateValue() {
    m_value.clear();
    for (const String& s : m_segments)
        m_value += s;
}
