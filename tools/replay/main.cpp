// skiddlewick-replay: plays the game from a script (the file named by the one argument, or
// standard input) and writes a trace of every update on standard output. `shot` writes only into
// the folder given with --shots.
#include "replay_driver.h"

#include "host/app.h"
#include "replay/replay_file.h"
#include "replay/replay_script.h"
#include "replay/shown_text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kCannotRead = 2;

struct ToolOptions {
    std::string script = "-";
    std::string shots;
    bool ok = true;
};

ToolOptions ReadOptions(int argc, char* argv[]) {
    ToolOptions options;
    int scripts = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--shots" && i + 1 < argc)
            options.shots = argv[++i];
        else if (argument.rfind("--", 0) == 0)
            options.ok = false;
        else {
            options.script = argument;
            ++scripts;
        }
    }
    options.ok = options.ok && scripts <= 1;
    return options;
}

int CannotRead(const std::string& message) {
    std::fprintf(stderr, "skiddlewick-replay: %s\n", message.c_str());
    return kCannotRead;
}

// The script, read and checked, or the message that says why not (status 2).
std::optional<ReplayScript> ReadScript(const ToolOptions& options, std::string& error) {
    const std::string& name = options.script;
    ReplayParseResult parsed = ParseReplayFile(
        name == "-" ? ReadReplayStream(STDIN_FILENO, name) : ReadReplayFile(name), name);
    if (!parsed.script) {
        error = parsed.error;
        return std::nullopt;
    }
    struct stat folder {};
    if (parsed.script->ShotLine() != 0 && options.shots.empty())
        error = "line " + std::to_string(parsed.script->ShotLine()) +
                ": 'shot' writes only into a folder given with --shots DIR";
    else if (!options.shots.empty() &&
             (stat(options.shots.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)))
        error = "--shots: '" + ShownText(options.shots) + "' is not a folder";
    if (!error.empty())
        return std::nullopt;
    return std::move(parsed.script);
}

} // namespace

int main(int argc, char* argv[]) {
    const ToolOptions options = ReadOptions(argc, argv);
    if (!options.ok) {
        std::fprintf(stderr, "usage: skiddlewick-replay [--shots DIR] [SCRIPT]\n");
        return kCannotRead;
    }
    std::string error;
    std::optional<ReplayScript> script = ReadScript(options, error);
    if (!script)
        return CannotRead(error);

    static char traceBuffer[1 << 16];
    std::setvbuf(stdout, traceBuffer, _IOFBF, sizeof traceBuffer);
    ReplayDriver driver(std::move(*script), stdout, options.shots);
    if (std::string warning = driver.VersionWarning(); !warning.empty())
        std::fprintf(stderr, "skiddlewick-replay: %s\n", warning.c_str());
    int status = driver.Run();
    if (status != 0)
        std::fprintf(stderr, "skiddlewick-replay: %s\n", driver.Error().c_str());
    // Leave the way the game itself quits: devices closed in order, nothing else torn down
    // while loader threads may still be reading.
    if (driver.Booted())
        bb_app_ReleaseDevices();
    std::fflush(nullptr);
    std::_Exit(status);
}
