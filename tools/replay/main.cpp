// skiddlewick-replay: plays the game from a script (the file named by the one argument, or
// standard input) and writes a trace of every update on standard output.
#include "replay_driver.h"

#include "host/app.h"
#include "replay/replay_script.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>

namespace {

std::optional<std::string> ReadScript(int argc, char* argv[]) {
    if (argc >= 2 && std::string(argv[1]) != "-")
        return ReadReplayFile(argv[1]);
    std::ostringstream buffer;
    buffer << std::cin.rdbuf();
    return buffer.str();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: skiddlewick-replay [SCRIPT]\n");
        return 2;
    }
    std::optional<std::string> text = ReadScript(argc, argv);
    if (!text) {
        std::fprintf(stderr, "skiddlewick-replay: cannot read '%s'\n", argv[1]);
        return 2;
    }
    ReplayParseResult parsed = ParseReplayScript(*text);
    if (!parsed.script) {
        std::fprintf(stderr, "skiddlewick-replay: %s\n", parsed.error.c_str());
        return 2;
    }

    static char traceBuffer[1 << 16];
    std::setvbuf(stdout, traceBuffer, _IOFBF, sizeof traceBuffer);
    ReplayDriver driver(std::move(*parsed.script), stdout);
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
