// Reading the asset source files: lines without comments, words, numbers, and errors that name
// the file and line so a mistake in a pixel map or recipe is easy to find.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace assetgen {

// Any problem with an asset source; the message already names the place.
class AssetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SourceLine {
    int number = 0;   // 1-based line number in the file
    std::string text; // the line with any '#' comment and trailing blanks removed
};

class TextSource {
public:
    explicit TextSource(const std::filesystem::path& path);

    const std::filesystem::path& path() const { return path_; }
    const std::vector<SourceLine>& lines() const { return lines_; }
    [[noreturn]] void fail(int line, const std::string& message) const;

private:
    std::filesystem::path path_;
    std::vector<SourceLine> lines_;
};

// Splits at blanks; a word in double quotes may hold blanks (the quotes are removed).
std::vector<std::string> split_words(const std::string& text);

// Parses a whole word as a number; on failure reports through source.fail(line, ...).
int parse_int(const std::string& word, const TextSource& source, int line);
double parse_double(const std::string& word, const TextSource& source, int line);

// The regular files of a folder with the given extension, sorted by name.
std::vector<std::filesystem::path> files_with_extension(const std::filesystem::path& folder,
                                                        const std::string& extension);

} // namespace assetgen
