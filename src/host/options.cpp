// Reading the command line, and the usage and version texts.
#include "host/options.h"

#include "runtime/version.h"

#include <string_view>

BBOptions bb_options_current;

namespace {

constexpr const char* kUsage =
    "usage: skiddlewick [OPTION]...\n"
    "Cross the road, hire skis and race down the slope.\n"
    "\n"
    "  --fullscreen   play full screen, for this run only\n"
    "  --windowed     play in a window, for this run only\n"
    "  --record FILE  play and record the game into FILE, a replay script\n"
    "  --play FILE    show the game recorded in FILE, or in a link to a run (an\n"
    "                 address with #run=); any key but the music and full-screen\n"
    "                 keys ends it\n"
    "  --runs         list the games kept as recordings, newest first, and end\n"
    "  --help         show this help and end\n"
    "  --version      show the version and end\n";

BBOptions Mistake(std::string reason) {
    BBOptions options;
    options.action = BBOptions::Action::Mistake;
    options.mistake = std::move(reason);
    return options;
}

// The file named by --record or --play, as the next argument or after "=".
bool TakeFile(std::string_view name, std::string_view arg, int argc, const char* const argv[],
              int& index, std::string& file, std::string& reason) {
    if (!file.empty()) {
        reason = "'" + std::string(name) + "' given twice";
        return false;
    }
    if (arg.size() > name.size())
        file = arg.substr(name.size() + 1);
    else if (index + 1 < argc)
        file = argv[++index];
    if (file.empty()) {
        reason = "'" + std::string(name) + "' needs a file name";
        return false;
    }
    return true;
}

// "--record" matches "--record" and "--record=...".
bool Names(std::string_view arg, std::string_view name) {
    return arg == name || (arg.size() > name.size() && arg.substr(0, name.size()) == name &&
                           arg[name.size()] == '=');
}

} // namespace

BBOptions bb_options_Parse(int argc, const char* const argv[]) {
    BBOptions options;
    std::string reason;
    for (int index = 1; index < argc; ++index) {
        const std::string_view arg = argv[index];
        if (arg == "--help") {
            options.action = BBOptions::Action::Help;
            return options;
        }
        if (arg == "--version") {
            options.action = BBOptions::Action::Version;
            return options;
        }
        if (arg == "--runs") {
            options.action = BBOptions::Action::Runs;
            return options;
        }
        if (arg == "--fullscreen" || arg == "--windowed") {
            const bool fullScreen = arg == "--fullscreen";
            if (options.fullScreen && *options.fullScreen != fullScreen)
                return Mistake("'--fullscreen' and '--windowed' cannot be used together");
            options.fullScreen = fullScreen;
        } else if (Names(arg, "--record")) {
            if (!TakeFile("--record", arg, argc, argv, index, options.recordFile, reason))
                return Mistake(reason);
        } else if (Names(arg, "--play")) {
            if (!TakeFile("--play", arg, argc, argv, index, options.playFile, reason))
                return Mistake(reason);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Mistake("unknown option '" + std::string(arg) + "'");
        } else {
            return Mistake("unexpected argument '" + std::string(arg) + "'");
        }
    }
    if (!options.recordFile.empty() && !options.playFile.empty())
        return Mistake("'--record' and '--play' cannot be used together");
    return options;
}

int bb_options_Report(const BBOptions& options, std::FILE* out, std::FILE* err) {
    switch (options.action) {
    case BBOptions::Action::Help:
        std::fputs(kUsage, out);
        return 0;
    case BBOptions::Action::Version:
        std::fprintf(out, "skiddlewick %s\n", bb_version_Number);
        return 0;
    case BBOptions::Action::Mistake:
        std::fprintf(err, "skiddlewick: %s\n%s", options.mistake.c_str(), kUsage);
        return 2;
    case BBOptions::Action::Run:
    case BBOptions::Action::Runs:
        break;
    }
    return 0;
}
