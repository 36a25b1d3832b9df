// Whole-file text decoding with byte-order marks and the Latin-1 fallback.
#include "files/text_decoding.h"

namespace {

unsigned char Byte(std::string_view bytes, size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

// Each byte pair after the mark is one character; a trailing odd byte is ignored.
String DecodeUtf16(std::string_view bytes, bool bigEndian) {
    String text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        unsigned hi = Byte(bytes, bigEndian ? i : i + 1);
        unsigned lo = Byte(bytes, bigEndian ? i + 1 : i);
        text += static_cast<char16_t>((hi << 8) | lo);
    }
    return text;
}

String WidenLatin1(std::string_view bytes) {
    String text;
    text.reserve(bytes.size());
    for (char c : bytes)
        text += static_cast<char16_t>(static_cast<unsigned char>(c));
    return text;
}

} // namespace

String bb_files_DecodeText(std::string_view bytes, String* error) {
    if (bytes.size() >= 2 && Byte(bytes, 0) == 0xFE && Byte(bytes, 1) == 0xFF)
        return DecodeUtf16(bytes, true);
    if (bytes.size() >= 2 && Byte(bytes, 0) == 0xFF && Byte(bytes, 1) == 0xFE)
        return DecodeUtf16(bytes, false);
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    String text;
    if (bb_utf8_Decode(bytes, text))
        return text;
    if (error)
        *error = u"Invalid UTF-8";
    return WidenLatin1(bytes);
}
