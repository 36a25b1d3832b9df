// Fuzz target for a replay script from anywhere: the reader takes any bytes; what it refuses has a
// message with its line and nothing a terminal would act on; what it accepts writes back as lines
// that read back the same, and runs in the runner against a host without a game (input goes
// nowhere, the updates are counted, the checks compared), within a bounded number of updates.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/bb_game.h"
#include "replay/replay_runner.h"
#include "replay/replay_script.h"

namespace {

// Updates run for one input: enough to pass a few checks, few enough to stay quick.
constexpr int kUpdates = 2000;

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool Printable(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e)
            return false;
    }
    return true;
}

// A command's line, alone in a script where it may stand, reads back as the same line.
void RequireReadsBack(const ReplayCommand& command) {
    const std::string line = ReplayCommandText(command);
    const bool preamble = command.op == ReplayOp::Version || command.op == ReplayOp::Data ||
                          command.op == ReplayOp::State || command.op == ReplayOp::Boot ||
                          command.op == ReplayOp::Start;
    ReplayParseResult again = ParseReplayScript((preamble ? "" : "start\n") + line + "\n");
    require(again.script.has_value());
    const std::vector<ReplayCommand> commands = again.script->Commands();
    require(!commands.empty() && ReplayCommandText(commands.back()) == line);
}

void Run(ReplayRunner& runner) {
    for (int update = 0; update < kUpdates;) {
        switch (runner.Next()) {
        case ReplayStep::Start:
        case ReplayStep::Shot:
            break;
        case ReplayStep::Update:
            ++update;
            if (runner.BeforeUpdate())
                runner.AfterUpdate();
            break;
        case ReplayStep::End:
            return;
        case ReplayStep::Failed:
            require(runner.Status() == 1 || runner.Status() == 3);
            require(runner.Error().rfind("line ", 0) == 0);
            return;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static BBGame host;
    ReplayParseResult parsed =
        ParseReplayScript(std::string(reinterpret_cast<const char*>(data), size));
    if (!parsed.script) {
        require(parsed.error.rfind("line ", 0) == 0 && Printable(parsed.error));
        require(parsed.error.size() < 400);
        return 0;
    }
    ReplayScript::Cursor cursor;
    for (int count = 0; count < 200; ++count) {
        const std::optional<ReplayCommand> command = parsed.script->Next(cursor);
        if (!command)
            break;
        RequireReadsBack(*command);
    }
    ReplayRunner runner(std::move(*parsed.script));
    require(Printable(runner.VersionWarning()));
    Run(runner);
    return 0;
}
