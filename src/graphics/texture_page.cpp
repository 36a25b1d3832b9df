// Texture atlas pages: reading the atlas description and cutting named sub-images from its sheet.
#include "graphics/texture_page.h"

#include "graphics/graphics.h"
#include "host/app.h"
#include "markup/config.h"
#include "runtime/errors.h"
#include "runtime/number_parse.h"

std::map<String, std::unique_ptr<c_TexturePageData>> c_TexturePage::m_imageList;

void bb_texturepage_Init() {
    c_TexturePage::m_imageList.clear();
}

int bb_texturepage_ReadNumber(const String& text) {
    // The C library's notion of white space leaves out most control characters; the atlas
    // treats every code up to 32 as white space.
    size_t first = 0;
    size_t last = text.size();
    while (first < last && text[first] <= 32)
        ++first;
    while (last > first && text[last - 1] <= 32)
        --last;
    return bb_parse_Int(text.substr(first, last - first), 63);
}

namespace {

bool InsideSheet(const c_TexturePageData& rect, int sheetWidth, int sheetHeight) {
    const long long right = static_cast<long long>(rect.m_x) + rect.m_width;
    const long long bottom = static_cast<long long>(rect.m_y) + rect.m_height;
    return rect.m_x >= 0 && rect.m_y >= 0 && rect.m_width >= 0 && rect.m_height >= 0 &&
           right <= sheetWidth && bottom <= sheetHeight;
}

} // namespace

c_TexturePage::c_TexturePage(const String& path) {
    const String text = bb_app_LoadString(path);
    if (text.empty())
        return;

    auto document = bb_config_LoadConfig(text);
    if (document->m_error)
        return;
    c_ConfigNode* atlas = document->p_FindNodeByPath(u"TextureAtlas");
    const std::vector<c_ConfigNode*> entries =
        document->p_FindNodesByPath(u"TextureAtlas/SubTexture");
    if (atlas == nullptr || entries.empty())
        return;

    m_image =
        bb_graphics_LoadImage(atlas->p_GetAttribute(u"imagePath", u""), 1, c_Image::m_DefaultFlags);
    if (!m_image)
        return;

    for (const c_ConfigNode* entry : entries) {
        auto number = [entry](const char16_t* name) {
            return bb_texturepage_ReadNumber(entry->p_GetAttribute(name, u""));
        };
        m_imageList[entry->p_GetAttribute(u"name", u"")] = std::make_unique<c_TexturePageData>(
            number(u"x"), number(u"y"), number(u"width"), number(u"height"));
        m_loaded = true;
    }
}

std::unique_ptr<c_Image> c_TexturePage::p_FindImage(const String& name, int flags) const {
    if (!m_loaded)
        return nullptr;
    auto found = m_imageList.find(name);
    if (found == m_imageList.end() || !found->second)
        return nullptr;
    if (m_image->p_Frames() != 1)
        return nullptr;

    const c_TexturePageData& data = *found->second;
    // The rectangle must lie inside the sheet. Frame cutting alone would move one that overflows
    // the right edge to the start of the next row and cut the wrong pixels, and it never looks
    // at the left or top edge.
    if (!InsideSheet(data, m_image->m_width, m_image->m_height))
        bbError(u"Image frame outside surface");
    const c_Frame& sheet = m_image->m_frames[0];
    auto image = c_Image::m_new();
    image->p_Init2(m_image->m_surface, data.m_x, data.m_y, data.m_width, data.m_height, 1, flags,
                   m_image.get(), sheet.m_x, sheet.m_y, m_image->m_width, m_image->m_height);
    return image;
}
