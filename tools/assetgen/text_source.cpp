// Reading the asset source files line by line, with located error messages.
#include "text_source.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>

namespace assetgen {

TextSource::TextSource(const std::filesystem::path& path) : path_(path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw AssetError(path.string() + ": cannot be read");
    }
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        // A '#' at the start of a word starts a comment (so F#5 is a note), unless it is
        // inside a quoted word.
        bool quoted = false;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '"') {
                quoted = !quoted;
            } else if (text[i] == '#' && !quoted &&
                       (i == 0 || text[i - 1] == ' ' || text[i - 1] == '\t')) {
                text.resize(i);
                break;
            }
        }
        while (!text.empty() &&
               (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
            text.pop_back();
        }
        lines_.push_back({number, text});
    }
}

void TextSource::fail(int line, const std::string& message) const {
    throw AssetError(path_.string() + ":" + std::to_string(line) + ": " + message);
}

std::vector<std::string> split_words(const std::string& text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        if (text[i] == '"') {
            size_t end = text.find('"', i + 1);
            if (end == std::string::npos) {
                end = text.size();
            }
            word = text.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            while (i < text.size() && text[i] != ' ' && text[i] != '\t') {
                word += text[i++];
            }
        }
        words.push_back(word);
    }
    return words;
}

int parse_int(const std::string& word, const TextSource& source, int line) {
    int value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size()) {
        source.fail(line, "'" + word + "' is not a whole number");
    }
    return value;
}

double parse_double(const std::string& word, const TextSource& source, int line) {
    char* end = nullptr;
    double value = std::strtod(word.c_str(), &end);
    if (word.empty() || end != word.c_str() + word.size()) {
        source.fail(line, "'" + word + "' is not a number");
    }
    return value;
}

std::vector<std::filesystem::path> files_with_extension(const std::filesystem::path& folder,
                                                        const std::string& extension) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == extension) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace assetgen
