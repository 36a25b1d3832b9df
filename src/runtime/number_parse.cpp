// C-library-style decimal parsing, saturating instead of overflowing.
#include "runtime/number_parse.h"

#include <climits>

namespace {
bool is_c_space(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
} // namespace

int bb_parse_Int(const String& text, size_t max_chars) {
    size_t n = text.size() < max_chars ? text.size() : max_chars;
    size_t i = 0;
    auto at = [&](size_t k) { return static_cast<unsigned char>(text[k] & 0xFF); };
    while (i < n && is_c_space(at(i)))
        ++i;
    bool negative = false;
    if (i < n && (at(i) == '+' || at(i) == '-')) {
        negative = at(i) == '-';
        ++i;
    }
    long long value = 0;
    for (; i < n && at(i) >= '0' && at(i) <= '9'; ++i) {
        value = value * 10 + (at(i) - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}
