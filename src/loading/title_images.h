// The title picture.
#pragma once

#include "loading/asset_group.h"

class c_TitleImages : public c_ImageGroup<c_TitleImages> {
public:
    std::unique_ptr<c_Image> m_title;

    static const c_AssetFile<c_TitleImages, c_Image> kFiles[1];
};

extern std::unique_ptr<c_TitleImages> bb_titlegraphics_titleImages;
