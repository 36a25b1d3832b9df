// Reverse lookup from an image to its atlas name over the atlas pages' shared name map.
#include "replay/atlas_names.h"

#include "graphics/image.h"
#include "graphics/texture_page.h"
#include "runtime/string.h"

std::string AtlasName(const c_Image* image) {
    if (!image)
        return "-";
    const c_Frame* frame = image->p_Frame(0);
    // Atlas sprites are cut from the sheet image; loose pictures have no source.
    if (!frame || !image->m_source)
        return "?";
    // Undo the one-pixel borders the image flags trim from each side.
    int x = frame->m_x, y = frame->m_y, width = image->m_width, height = image->m_height;
    if (image->m_flags & c_Image::m_PaddedX) {
        x -= 1;
        width += 2;
    }
    if (image->m_flags & c_Image::m_PaddedY) {
        y -= 1;
        height += 2;
    }
    const c_Frame* sheet = image->m_source->p_Frame(0);
    if (sheet) {
        x -= sheet->m_x;
        y -= sheet->m_y;
    }
    for (const auto& [name, rect] : c_TexturePage::m_imageList) {
        if (rect && rect->m_x == x && rect->m_y == y && rect->m_width == width &&
            rect->m_height == height)
            return bb_utf8_Encode(name);
    }
    return "?";
}
