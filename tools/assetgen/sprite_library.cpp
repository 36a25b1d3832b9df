// Reads the sprite pixel maps and applies the derivation operations.
//
//   sprite NAME          followed by rows of palette symbols, all of one width
//   derive NAME BASE OP...
// with OP one of: mirror, flip, rotate (a quarter turn clockwise), squash (every other row,
// kept at the bottom), swap:XY (colour X becomes colour Y), over:PART (PART painted on top),
// under:PART (painted on top of PART), shift:DX,DY.
#include "sprite_library.h"

#include "text_source.h"

namespace assetgen {

SpriteLibrary::SpriteLibrary(const std::filesystem::path& folder, const Palette& palette) {
    for (const auto& path : files_with_extension(folder, ".txt")) {
        load_file(path, palette);
    }
}

std::vector<const Sprite*> SpriteLibrary::exported() const {
    std::vector<const Sprite*> out;
    for (const Sprite& sprite : sprites_) {
        if (sprite.name.rfind('_', 0) != 0) {
            out.push_back(&sprite);
        }
    }
    return out;
}

const Image& SpriteLibrary::map(const std::string& name) const {
    auto it = index_.find(name);
    if (it == index_.end()) {
        throw AssetError("no sprite named '" + name + "'");
    }
    return sprites_[it->second].map;
}

void SpriteLibrary::add(const std::string& name, Image map, const TextSource& source, int line) {
    if (index_.count(name)) {
        source.fail(line, "sprite '" + name + "' defined twice");
    }
    if (map.width() == 0 || map.height() == 0) {
        source.fail(line, "sprite '" + name + "' has no rows");
    }
    index_[name] = sprites_.size();
    sprites_.push_back({name, std::move(map)});
}

void SpriteLibrary::load_file(const std::filesystem::path& path, const Palette& palette) {
    TextSource source(path);
    std::string pending; // name of the map whose rows are being read
    int pending_line = 0;
    std::vector<std::string> rows;
    auto finish_map = [&]() {
        if (pending.empty()) {
            return;
        }
        Image map(rows.empty() ? 0 : static_cast<int>(rows[0].size()),
                  static_cast<int>(rows.size()));
        for (int y = 0; y < map.height(); ++y) {
            for (int x = 0; x < map.width(); ++x) {
                map.at(x, y) = palette.symbol(rows[y][x]);
            }
        }
        add(pending, std::move(map), source, pending_line);
        pending.clear();
        rows.clear();
    };
    for (const SourceLine& line : source.lines()) {
        std::vector<std::string> words = split_words(line.text);
        if (words.empty()) {
            finish_map();
            continue;
        }
        if (words[0] == "sprite") {
            finish_map();
            if (words.size() != 2) {
                source.fail(line.number, "expected: sprite NAME");
            }
            pending = words[1];
            pending_line = line.number;
        } else if (words[0] == "derive") {
            finish_map();
            if (words.size() < 3) {
                source.fail(line.number, "expected: derive NAME BASE OPERATION...");
            }
            add(words[1], derive(words, palette, source, line.number), source, line.number);
        } else if (!pending.empty() && words.size() == 1) {
            const std::string& row = words[0];
            for (char c : row) {
                if (!palette.has_symbol(c)) {
                    source.fail(line.number, std::string("'") + c + "' is not in the palette");
                }
            }
            if (!rows.empty() && row.size() != rows[0].size()) {
                source.fail(line.number,
                            "row width differs from the first row of '" + pending + "'");
            }
            rows.push_back(row);
        } else {
            source.fail(line.number, "unexpected '" + words[0] + "'");
        }
    }
    finish_map();
}

namespace {

Image squash(const Image& in) {
    Image out(in.width(), in.height());
    int rows = (in.height() + 1) / 2;
    for (int r = 0; r < rows; ++r) {
        int from = in.height() - 1 - 2 * r;
        for (int x = 0; x < in.width(); ++x) {
            out.at(x, in.height() - 1 - r) = in.at(x, from);
        }
    }
    return out;
}

Image shifted(const Image& in, int dx, int dy) {
    Image out(in.width(), in.height());
    out.paint(in, dx, dy);
    return out;
}

} // namespace

Image SpriteLibrary::derive(const std::vector<std::string>& words, const Palette& palette,
                            const TextSource& source, int line) const {
    auto it = index_.find(words[2]);
    if (it == index_.end()) {
        source.fail(line, "no sprite named '" + words[2] + "' defined before this line");
    }
    Image image = sprites_[it->second].map;
    for (size_t i = 3; i < words.size(); ++i) {
        const std::string& op = words[i];
        std::string arg = op.find(':') == std::string::npos ? "" : op.substr(op.find(':') + 1);
        if (op == "mirror") {
            image = image.mirrored();
        } else if (op == "flip") {
            image = image.flipped();
        } else if (op == "rotate") {
            image = image.rotated_clockwise();
        } else if (op == "squash") {
            image = squash(image);
        } else if (op.rfind("swap:", 0) == 0 && arg.size() == 2 && palette.has_symbol(arg[0]) &&
                   palette.has_symbol(arg[1])) {
            Rgba from = palette.symbol(arg[0]);
            Rgba to = palette.symbol(arg[1]);
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (image.at(x, y) == from) {
                        image.at(x, y) = to;
                    }
                }
            }
        } else if (op.rfind("over:", 0) == 0 || op.rfind("under:", 0) == 0) {
            auto part = index_.find(arg);
            if (part == index_.end()) {
                source.fail(line, "no sprite named '" + arg + "' defined before this line");
            }
            const Image& other = sprites_[part->second].map;
            if (op[0] == 'o') {
                image.paint(other, 0, 0);
            } else {
                Image base = other;
                base.paint(image, 0, 0);
                image = base;
            }
        } else if (op.rfind("shift:", 0) == 0 && arg.find(',') != std::string::npos) {
            int dx = parse_int(arg.substr(0, arg.find(',')), source, line);
            int dy = parse_int(arg.substr(arg.find(',') + 1), source, line);
            image = shifted(image, dx, dy);
        } else {
            source.fail(line, "unknown operation '" + op + "'");
        }
    }
    return image;
}

} // namespace assetgen
