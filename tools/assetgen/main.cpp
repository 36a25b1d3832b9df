// assetgen: builds the game's data folder from the sources in assets/.
// Usage: assetgen ASSETS_FOLDER DATA_FOLDER REVIEW_FOLDER
#include <cstdio>
#include <exception>
#include <filesystem>

#include "atlas_writer.h"
#include "audio_writer.h"
#include "contact_sheet.h"
#include "font_sheet.h"
#include "mask_writer.h"
#include "music.h"
#include "palette.h"
#include "picture_program.h"
#include "sprite_library.h"
#include "synth.h"
#include "text_source.h"

namespace fs = std::filesystem;
using namespace assetgen;

namespace {

Atlas build_atlas(const SpriteLibrary& sprites, const fs::path& data) {
    std::vector<AtlasEntry> entries;
    for (const Sprite* sprite : sprites.exported()) {
        entries.push_back({sprite->name, sprite->map.scaled(kBlock)});
    }
    Atlas atlas = pack_atlas(std::move(entries));
    write_atlas(atlas, data);
    return atlas;
}

// assets/masks.txt pairs each mask file with the sprite whose shape it takes.
void build_masks(const fs::path& list, const SpriteLibrary& sprites, const fs::path& data) {
    TextSource source(list);
    for (const SourceLine& line : source.lines()) {
        std::vector<std::string> words = split_words(line.text);
        if (words.empty()) {
            continue;
        }
        if (words.size() != 2) {
            source.fail(line.number, "expected: MASK SPRITE");
        }
        try {
            write_mask(sprites.map(words[1]).scaled(kBlock), data / "Masks" / (words[0] + ".cmsk"));
        } catch (const AssetError& e) {
            source.fail(line.number, e.what());
        }
    }
}

// `webSounds`, when not empty, gets every sound again for the page, as Ogg Vorbis at the page's
// quality: as WAV the effects, and at the data's quality the music, would be most of its download.
void generate(const fs::path& assets, const fs::path& data, const fs::path& review,
              const fs::path& webSounds) {
    Palette palette(assets / "palette.txt");
    SpriteLibrary sprites(assets / "sprites", palette);
    Font font(assets / "font" / "font.txt");

    Atlas atlas = build_atlas(sprites, data);
    build_masks(assets / "masks.txt", sprites, data);
    write_png(spectrum_font_sheet(font), data / "Graphics" / "SpectrumFont.png");
    write_png(plim_font_strip(font), data / "plim_font.png");
    for (const fs::path& program : files_with_extension(assets / "pictures", ".draw")) {
        Image picture = run_picture_program(program, palette, font, sprites);
        write_png(picture, data / "Graphics" / (program.stem().string() + ".png"));
    }
    for (const fs::path& recipe : files_with_extension(assets / "sounds", ".synth")) {
        std::vector<float> sound = render_recipe(recipe);
        write_wav(sound, kSampleRate, data / "Sounds" / (recipe.stem().string() + ".wav"));
        if (!webSounds.empty())
            write_ogg(sound, kSampleRate, webSounds / (recipe.stem().string() + ".ogg"),
                      kPageQuality);
    }
    for (const fs::path& tune : files_with_extension(assets / "music", ".notes")) {
        std::vector<float> music = render_music(tune);
        write_ogg(music, kSampleRate, data / "Sounds" / (tune.stem().string() + ".ogg"));
        if (!webSounds.empty())
            write_ogg(music, kSampleRate, webSounds / (tune.stem().string() + ".ogg"),
                      kPageQuality);
        write_wav(music, kSampleRate, review / (tune.stem().string() + ".wav"));
    }
    write_png(contact_sheet(atlas, font), review / "contact_sheet.png");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(
            stderr,
            "usage: assetgen ASSETS_FOLDER DATA_FOLDER REVIEW_FOLDER [WEB_SOUNDS_FOLDER]\n");
        return 2;
    }
    try {
        generate(argv[1], argv[2], argv[3], argc == 5 ? fs::path(argv[4]) : fs::path());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
