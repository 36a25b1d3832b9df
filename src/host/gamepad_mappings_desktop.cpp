// Reading a player's own pad mappings (from the environment, the config folder and the starting
// folder) and handing them to GLFW line by line, each bad line reported and skipped.
#include "host/gamepad_mappings.h"

#include "files/file_access.h"
#include "files/state_file.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A mapping line starts with the pad's GUID in hexadecimal, then its name.
constexpr size_t kGuidDigits = 32;
// GLFW passes over longer lines without a word.
constexpr size_t kLongestLine = 1023;

int g_mappingErrors = 0;

void CountMappingError(int /*error*/, const char* /*description*/) {
    ++g_mappingErrors;
}

bool IsHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool LooksLikeMapping(std::string_view line) {
    return line.size() > kGuidDigits && line.size() <= kLongestLine && line[kGuidDigits] == ',' &&
           std::all_of(line.begin(), line.begin() + kGuidDigits, IsHexDigit);
}

// GLFW reports a line it cannot read through its error callback, which would otherwise print a
// GLFW error on standard output: it is counted here instead, and the line reported by number.
bool GlfwTakes(const std::string& line) {
    g_mappingErrors = 0;
    GLFWerrorfun previous = glfwSetErrorCallback(CountMappingError);
    const bool taken = glfwUpdateGamepadMappings(line.c_str()) == GLFW_TRUE && g_mappingErrors == 0;
    glfwSetErrorCallback(previous);
    return taken;
}

std::string_view Trimmed(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t\r") + 1 - first);
}

void Report(std::string_view origin, int lineNumber, const char* problem) {
    std::fprintf(stderr, "%.*s line %d: %s, skipped\n", static_cast<int>(origin.size()),
                 origin.data(), lineNumber, problem);
}

} // namespace

int bb_host_AddGamepadMappings(std::string_view text, std::string_view origin) {
    int taken = 0;
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        if (line.empty() || line.front() == '#')
            continue;
        if (!LooksLikeMapping(line))
            Report(origin, lineNumber, "not a gamepad mapping");
        else if (!GlfwTakes(std::string(line)))
            Report(origin, lineNumber, "a gamepad mapping GLFW cannot read");
        else
            ++taken;
    }
    return taken;
}

namespace {

// The lines of one mapping file, if there is one; a file that cannot be read is reported.
int AddMappingsFile(const std::string& fileName) {
    std::error_code error;
    if (!std::filesystem::exists(fileName, error))
        return 0;
    std::string text;
    FILE* file = std::filesystem::is_regular_file(fileName, error)
                     ? std::fopen(fileName.c_str(), "rb")
                     : nullptr;
    const bool read = file && bb_files_ReadAll(file, text);
    if (file)
        std::fclose(file);
    const std::string shown = bb_printable(bb_str(fileName));
    if (!read) {
        std::fprintf(stderr, "%s: cannot be read, skipped\n", shown.c_str());
        return 0;
    }
    return bb_host_AddGamepadMappings(text, shown);
}

} // namespace

int bb_host_LoadGamepadMappings() {
    int taken = 0;
    if (const char* config = std::getenv("SDL_GAMECONTROLLERCONFIG"))
        taken += bb_host_AddGamepadMappings(config, "SDL_GAMECONTROLLERCONFIG");
    // The player's own file first; one in the starting folder is nearer the run and wins.
    const String folder = bb_files_ConfigFolder();
    std::error_code error;
    if (!folder.empty()) {
        const std::string own = bb_utf8_Encode(folder) + "/" + kGamepadMappingsFile;
        taken += AddMappingsFile(own);
        if (std::filesystem::equivalent(own, kGamepadMappingsFile, error))
            return taken;
    }
    return taken + AddMappingsFile(kGamepadMappingsFile);
}
