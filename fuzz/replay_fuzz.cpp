// Fuzz target for a replay script from anywhere: the reader takes any bytes; what it refuses has a
// message with its line and nothing a terminal would act on; what it accepts writes back as lines
// that read back the same, and runs in the runner against a host without a game (input goes
// nowhere, the updates are counted, the checks compared), within a bounded number of updates. Bytes
// holding "#run=" are a link to a run first: the decoder refuses it in one printable line, or gives
// at most a script's size, which a link made from it holds again, and which is then read as above.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/bb_game.h"
#include "replay/replay_file.h"
#include "replay/replay_runner.h"
#include "replay/replay_script.h"
#include "replay/run_link.h"

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

// The script a link holds; none when the decoder refuses it.
std::optional<std::string> FromLink(const std::string& link) {
    ReplayFileText decoded = DecodeRunLink(link);
    if (!decoded.text) {
        require(!decoded.error.empty() && decoded.error.size() < 200 && Printable(decoded.error));
        return std::nullopt;
    }
    require(decoded.text->size() <= kReplayFileLimit);
    const ReplayFileText again = DecodeRunLink(EncodeRunLink(*decoded.text));
    require(again.text && *again.text == *decoded.text);
    return std::move(decoded.text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static BBGame host;
    std::optional<std::string> text = std::string(reinterpret_cast<const char*>(data), size);
    if (IsRunLink(*text) && !(text = FromLink(*text)))
        return 0;
    ReplayParseResult parsed = ParseReplayScript(std::move(*text));
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
