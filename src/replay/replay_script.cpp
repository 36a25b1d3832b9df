// Reads a replay script into commands, checking every argument and the order of the commands.
#include "replay_script.h"

#include <charconv>
#include <cstdint>

namespace {

struct OpSpec {
    std::string_view name;
    ReplayOp op;
    enum Argument { None, Number, Text } argument;
    std::uint32_t low = 0;
    std::uint32_t high = 0;
};

constexpr OpSpec kOps[] = {
    {"state", ReplayOp::State, OpSpec::Text},
    {"boot", ReplayOp::Boot, OpSpec::None},
    {"newgame", ReplayOp::NewGame, OpSpec::Number, 0, UINT32_MAX},
    {"press", ReplayOp::Press, OpSpec::Number, 1, 511},
    {"release", ReplayOp::Release, OpSpec::Number, 1, 511},
    {"step", ReplayOp::Step, OpSpec::Number, 0, INT32_MAX},
    {"until", ReplayOp::Until, OpSpec::Number, 0, 7},
    {"shot", ReplayOp::Shot, OpSpec::Text},
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Plain decimal digits only: no sign, no spaces inside, no trailing characters.
std::optional<std::uint32_t> ParseNumber(std::string_view text, std::uint32_t low,
                                         std::uint32_t high) {
    std::uint64_t value = 0;
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::string LineError(int line, const std::string& message) {
    return "line " + std::to_string(line) + ": " + message;
}

// One non-blank, comment-free line into a command; an error message on failure.
std::optional<ReplayCommand> ParseLine(std::string_view body, int line, std::string& error) {
    size_t split = 0;
    while (split < body.size() && !IsBlank(body[split]))
        ++split;
    const std::string_view word = body.substr(0, split);
    const std::string_view rest = Trim(body.substr(split));
    for (const OpSpec& entry : kOps) {
        if (entry.name != word)
            continue;
        ReplayCommand command{entry.op, line, 0, {}};
        switch (entry.argument) {
        case OpSpec::None:
            if (!rest.empty()) {
                error = LineError(line, "'" + std::string(word) + "' takes no argument");
                return std::nullopt;
            }
            break;
        case OpSpec::Number: {
            auto number = ParseNumber(rest, entry.low, entry.high);
            if (!number) {
                error = LineError(line, "'" + std::string(word) + "' needs a whole number from " +
                                            std::to_string(entry.low) + " to " +
                                            std::to_string(entry.high) + ", not '" +
                                            std::string(rest) + "'");
                return std::nullopt;
            }
            command.number = *number;
            break;
        }
        case OpSpec::Text:
            if (rest.empty() && entry.op == ReplayOp::Shot) {
                error = LineError(line, "'shot' needs a file name");
                return std::nullopt;
            }
            command.text = std::string(rest);
            break;
        }
        return command;
    }
    error = LineError(line, "unknown command '" + std::string(word) + "'");
    return std::nullopt;
}

// The order rules: what may come before `boot` and what only after it.
std::string CheckOrder(const ReplayCommand& command, bool& booted, bool& stateSeen) {
    switch (command.op) {
    case ReplayOp::State:
        if (booted)
            return LineError(command.line, "'state' must come before 'boot'");
        if (stateSeen)
            return LineError(command.line, "'state' given twice");
        stateSeen = true;
        return {};
    case ReplayOp::Boot:
        if (booted)
            return LineError(command.line, "'boot' given twice");
        booted = true;
        return {};
    case ReplayOp::Press:
    case ReplayOp::Release:
        return {};
    default:
        if (!booted)
            return LineError(command.line, "the game has not been started: 'boot' first");
        return {};
    }
}

} // namespace

ReplayParseResult ParseReplayScript(std::string_view text) {
    ReplayScript script;
    bool booted = false;
    bool stateSeen = false;
    int line = 0;
    while (!text.empty()) {
        ++line;
        const size_t eol = text.find('\n');
        std::string_view body = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (const size_t hash = body.find('#'); hash != std::string_view::npos)
            body = body.substr(0, hash);
        body = Trim(body);
        if (body.empty())
            continue;
        std::string error;
        std::optional<ReplayCommand> command = ParseLine(body, line, error);
        if (command)
            error = CheckOrder(*command, booted, stateSeen);
        if (!error.empty())
            return {std::nullopt, error};
        script.commands.push_back(std::move(*command));
    }
    return {std::move(script), {}};
}
