// Fuzz target for the file layer's text decoder: any bytes decode, by byte-order mark, as UTF-16,
// as UTF-8 or byte by byte, with exactly the length each of those implies.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/text_decoding.h"

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool starts_with(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    String error;
    const String text = bb_files_DecodeText(bytes, &error);
    if (starts_with(bytes, "\xFE\xFF") || starts_with(bytes, "\xFF\xFE")) {
        require(error.empty());
        require(text.size() == (size - 2) / 2);
        return 0;
    }
    if (starts_with(bytes, "\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (!error.empty()) {
        // The fallback keeps every byte as one character of the same value.
        require(error == u"Invalid UTF-8");
        require(text.size() == bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i)
            require(text[i] == static_cast<unsigned char>(bytes[i]));
        return 0;
    }
    // Valid UTF-8 never gives more characters than bytes, and the text survives a save and load.
    require(text.size() <= bytes.size());
    String again;
    require(bb_utf8_Decode(bb_utf8_Encode(text), again) && again == text);
    return 0;
}
