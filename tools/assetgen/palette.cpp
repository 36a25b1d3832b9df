// Loading the colour legend: "symbol red green blue alpha name" per line.
#include "palette.h"

#include "text_source.h"

namespace assetgen {

Palette::Palette(const std::filesystem::path& path) {
    TextSource source(path);
    for (const SourceLine& line : source.lines()) {
        std::vector<std::string> words = split_words(line.text);
        if (words.empty()) {
            continue;
        }
        if (words.size() != 6 || words[0].size() != 1) {
            source.fail(line.number, "expected: symbol red green blue alpha name");
        }
        Rgba colour;
        colour.r = static_cast<uint8_t>(parse_int(words[1], source, line.number));
        colour.g = static_cast<uint8_t>(parse_int(words[2], source, line.number));
        colour.b = static_cast<uint8_t>(parse_int(words[3], source, line.number));
        colour.a = static_cast<uint8_t>(parse_int(words[4], source, line.number));
        if (colour.a == 0) {
            colour = Rgba{}; // every transparent pixel is stored the same way
        }
        char symbol = words[0][0];
        if (by_symbol_.count(symbol) || by_name_.count(words[5])) {
            source.fail(line.number, "symbol or name defined twice");
        }
        by_symbol_[symbol] = colour;
        by_name_[words[5]] = colour;
    }
}

bool Palette::lookup(const std::string& word, Rgba& colour) const {
    if (auto it = by_name_.find(word); it != by_name_.end()) {
        colour = it->second;
        return true;
    }
    if (word.size() == 1 && has_symbol(word[0])) {
        colour = symbol(word[0]);
        return true;
    }
    return false;
}

} // namespace assetgen
