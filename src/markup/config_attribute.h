// One attribute of a markup element: a lower-case name and a value kept as the pieces it was
// read in (value tokens and operator characters) plus their concatenation.
#pragma once

#include <vector>

#include "runtime/string.h"

// Attribute names are compared in lower case, each code unit through the C library's wide
// lower-casing; creation and lookup both go through this.
String lower_attribute_name(const String& name);

class c_ConfigAttribute {
public:
    c_ConfigAttribute(const String& name, const String& value);

    // Replaces the value with a single segment.
    void p_SetValue(const String& value);
    // Appends one more piece of the value.
    void p_AddSegment(const String& segment);
    // Recomputes m_value from the segments.
    void p_UpdateValue();
    // Sets the name exactly as given (no lower-casing).
    void p_SetName(const String& name) { m_name = name; }

    String m_name;
    std::vector<String> m_segments;
    String m_value;
};
