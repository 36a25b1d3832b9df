// UTF-8 conversion and small helpers over the 16-bit string type.
#include "runtime/string.h"

std::string bb_utf8_Encode(const String& text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        unsigned u = c;
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

bool bb_utf8_Decode(std::string_view bytes, String& out) {
    out.clear();
    out.reserve(bytes.size());
    size_t i = 0, n = bytes.size();
    auto cont = [&](size_t k) {
        return k < n && (static_cast<unsigned char>(bytes[k]) & 0xC0) == 0x80;
    };
    while (i < n) {
        unsigned c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out += static_cast<char16_t>(c);
            i += 1;
        } else if ((c & 0xE0) == 0xC0) {
            if (!cont(i + 1))
                return false;
            out += static_cast<char16_t>(((c & 0x1F) << 6) |
                                         (static_cast<unsigned char>(bytes[i + 1]) & 0x3F));
            i += 2;
        } else if ((c & 0xF0) == 0xE0) {
            if (!cont(i + 1) || !cont(i + 2))
                return false;
            out += static_cast<char16_t>(((c & 0x0F) << 12) |
                                         ((static_cast<unsigned char>(bytes[i + 1]) & 0x3F) << 6) |
                                         (static_cast<unsigned char>(bytes[i + 2]) & 0x3F));
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

String bb_str(std::string_view utf8) {
    String out;
    if (bb_utf8_Decode(utf8, out))
        return out;
    out.clear();
    for (char c : utf8)
        out += static_cast<char16_t>(static_cast<unsigned char>(c));
    return out;
}

std::string bb_printable(const String& text) {
    String shown = text;
    for (char16_t& c : shown) {
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            c = u'?';
    }
    return bb_utf8_Encode(shown);
}

std::string bb_narrow(const String& text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text)
        out += static_cast<char>(c & 0xFF);
    return out;
}

String bb_lower(const String& text) {
    String out = text;
    for (char16_t& c : out)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c + 32);
    return out;
}

String bb_itos(int value) {
    std::string s = std::to_string(value);
    return String(s.begin(), s.end());
}
