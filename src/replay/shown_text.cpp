// ShownText: escaped byte by byte, so that nothing a terminal would act on gets through.
#include "replay/shown_text.h"

#include <cstdio>

std::string ShownText(std::string_view text, size_t limit) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        char piece[5] = {c, 0};
        if (c == '\\')
            piece[1] = '\\';
        else if (byte < 0x20 || byte > 0x7e)
            std::snprintf(piece, sizeof piece, "\\x%02x", byte);
        if (shown.size() + std::string_view(piece).size() > limit)
            return shown + "...";
        shown += piece;
    }
    return shown;
}
