// The colour legend shared by every pixel map and drawing program: one character and one name
// for each colour.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "image.h"

namespace assetgen {

class Palette {
public:
    explicit Palette(const std::filesystem::path& path);

    bool has_symbol(char symbol) const { return by_symbol_.count(symbol) != 0; }
    Rgba symbol(char symbol) const { return by_symbol_.at(symbol); }
    // A colour by its name or by its one-character symbol; false when neither is known.
    bool lookup(const std::string& word, Rgba& colour) const;

private:
    std::map<char, Rgba> by_symbol_;
    std::map<std::string, Rgba> by_name_;
};

} // namespace assetgen
