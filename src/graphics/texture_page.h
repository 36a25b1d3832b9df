// Texture atlas pages: a sheet image plus a description naming rectangles on it. Every named
// rectangle goes into one process-wide map, and images are cut from the sheet by name.
#pragma once

#include <map>
#include <memory>

#include "graphics/image.h"
#include "runtime/string.h"

// One named rectangle on a sheet, in pixels.
class c_TexturePageData {
public:
    c_TexturePageData(int x, int y, int width, int height)
        : m_x(x), m_y(y), m_width(width), m_height(height) {}

    int m_x;
    int m_y;
    int m_width;
    int m_height;
};

class c_TexturePage {
public:
    // Loads the description at `path` (relative to the data folder) and the sheet it names. The
    // page stays unloaded when the description is missing, empty or malformed, has no
    // TextureAtlas element or no SubTexture under it, or when the sheet cannot be loaded.
    explicit c_TexturePage(const String& path);

    bool p_IsLoaded() const { return m_loaded; }
    // A new single-frame image of the named rectangle with the flags applied, sharing the sheet's
    // pixels; null when the page is unloaded or the name is unknown (names are case-sensitive).
    // The page must outlive the image: the image refers to the sheet as its source.
    std::unique_ptr<c_Image> p_FindImage(const String& name, int flags) const;

    bool m_loaded = false;
    std::unique_ptr<c_Image> m_image; // the whole sheet as one frame; null if it did not load

    // Name -> rectangle, shared by every page (the last entry read under a name wins). Ordered by
    // code units, so names are case-sensitive.
    static std::map<String, std::unique_ptr<c_TexturePageData>> m_imageList;
};

// Empties the shared name map (program start, and tests).
void bb_texturepage_Init();

// Reads an atlas number leniently: surrounding characters with codes up to 32 are ignored, then
// an optional sign and decimal digits up to the first other character ("12px" reads 12); at most
// 63 characters are looked at; anything non-numeric reads 0.
int bb_texturepage_ReadNumber(const String& text);
