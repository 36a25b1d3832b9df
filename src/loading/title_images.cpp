// The title picture's file.
#include "loading/title_images.h"

std::unique_ptr<c_TitleImages> bb_titlegraphics_titleImages;

const c_AssetFile<c_TitleImages, c_Image> c_TitleImages::kFiles[1] = {
    {u"Graphics/Title.png", &c_TitleImages::m_title},
};
