// The start's files, taken from the tables its loads read, so that the two cannot differ.
#include "game/startup_files.h"

#include "graphics/graphics.h"
#include "loading/game_sounds.h"
#include "loading/spectrum_font_images.h"
#include "loading/title_images.h"

namespace {

template <class Table> void Append(std::vector<String>& paths, const Table& files) {
    for (const auto& file : files)
        paths.emplace_back(file.path);
}

} // namespace

BBStartupFiles bb_startupfiles_List() {
    BBStartupFiles files;
    files.images = {bb_graphics_defaultFontPath, c_SpectrumFontImages::kSheetPath};
    Append(files.images, c_TitleImages::kFiles);
    Append(files.sounds, c_GameSounds::kFiles);
    return files;
}

void bb_startupfiles_Install() {
    bb_app_deviceHooks.startupFiles = &bb_startupfiles_List;
}
