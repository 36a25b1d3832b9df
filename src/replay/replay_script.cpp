// Reads a replay script into commands, checking every argument and the order of the commands,
// and writes a command back as its script line.
#include "replay/replay_script.h"

#include "game/tazzle.h"
#include "graphics/virtual_display.h"
#include "input/input_device.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

enum class Argument {
    None,
    Number,
    Text,
    Point, // two whole numbers, x and y on the virtual screen
    Check, // an update number and a hash in 16 hexadecimal digits
    Joy,   // a port and six stick values, or the port and "off"
};

struct OpSyntax {
    std::string_view name;
    ReplayOp op;
    Argument argument;
    std::uint32_t low = 0;
    std::uint32_t high = 0;
};

constexpr std::uint32_t kLastJoystickPort = kJoystickKeyPorts - 1;
constexpr std::uint32_t kLastPointX = kVirtualScreenWidth - 1;
constexpr std::uint32_t kLastPointY = kVirtualScreenHeight - 1;
constexpr std::uint32_t kLastKeyCode = c_InputDevice::kKeys - 1;

constexpr OpSyntax kOps[] = {
    {"version", ReplayOp::Version, Argument::Text},
    {"state", ReplayOp::State, Argument::Text},
    {"boot", ReplayOp::Boot, Argument::None},
    {"start", ReplayOp::Start, Argument::None},
    {"newgame", ReplayOp::NewGame, Argument::Number, 0, UINT32_MAX},
    {"press", ReplayOp::Press, Argument::Number, 1, kLastKeyCode},
    {"release", ReplayOp::Release, Argument::Number, 1, kLastKeyCode},
    {"step", ReplayOp::Step, Argument::Number, 0, INT32_MAX},
    {"until", ReplayOp::Until, Argument::Number, 0, c_MainState::Last},
    {"shot", ReplayOp::Shot, Argument::Text},
    {"check", ReplayOp::Check, Argument::Check, 1, INT32_MAX},
    {"clock", ReplayOp::Clock, Argument::Number, 0, INT32_MAX},
    {"mouse", ReplayOp::Mouse, Argument::Point},
    {"joy", ReplayOp::Joy, Argument::Joy, 0, kLastJoystickPort},
    {"suspend", ReplayOp::Suspend, Argument::None},
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

// The first word of `text`, which is left holding the rest, trimmed.
std::string_view NextWord(std::string_view& text) {
    size_t split = 0;
    while (split < text.size() && !IsBlank(text[split]))
        ++split;
    const std::string_view word = text.substr(0, split);
    text = Trim(text.substr(split));
    return word;
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

std::optional<std::uint64_t> ParseHash(std::string_view text) {
    std::uint64_t value = 0;
    if (text.size() != 16)
        return std::nullopt;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Decimal, as FloatText writes it. (strtof: the web build's C++ library has no from_chars for
// floats; the program leaves LC_NUMERIC at "C", so the point is always ".".)
std::optional<float> ParseFloat(std::string_view text) {
    const std::string word(text);
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(word.c_str(), &end);
    if (word.empty() || errno != 0 || end != word.c_str() + word.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string LineError(int line, const std::string& message) {
    return "line " + std::to_string(line) + ": " + message;
}

bool ParsePoint(std::string_view rest, ReplayCommand& command) {
    auto x = ParseNumber(NextWord(rest), 0, kLastPointX);
    auto y = ParseNumber(NextWord(rest), 0, kLastPointY);
    if (!x || !y || !rest.empty())
        return false;
    command.number = *x;
    command.number2 = *y;
    return true;
}

bool ParseCheck(std::string_view rest, const OpSyntax& syntax, ReplayCommand& command) {
    auto update = ParseNumber(NextWord(rest), syntax.low, syntax.high);
    auto hash = ParseHash(NextWord(rest));
    if (!update || !hash || !rest.empty())
        return false;
    command.number = *update;
    command.hash = *hash;
    return true;
}

bool ParseJoy(std::string_view rest, const OpSyntax& syntax, ReplayCommand& command) {
    auto port = ParseNumber(NextWord(rest), syntax.low, syntax.high);
    if (!port)
        return false;
    command.number = *port;
    if (rest == "off")
        return true;
    std::array<float, 6> axes{};
    for (float& axis : axes) {
        auto value = ParseFloat(NextWord(rest));
        if (!value)
            return false;
        axis = *value;
    }
    command.axes = axes;
    return rest.empty();
}

// What an argument of each kind must look like, for the error message.
std::string Expected(const OpSyntax& syntax) {
    switch (syntax.argument) {
    case Argument::Number:
        return "a whole number from " + std::to_string(syntax.low) + " to " +
               std::to_string(syntax.high);
    case Argument::Point:
        return "x from 0 to " + std::to_string(kLastPointX) + " and y from 0 to " +
               std::to_string(kLastPointY);
    case Argument::Check:
        return "an update number and a hash of 16 hexadecimal digits";
    case Argument::Joy:
        return "a port from 0 to " + std::to_string(kLastJoystickPort) +
               " and six stick values, or the port and 'off'";
    case Argument::None:
    case Argument::Text:
        break;
    }
    return {};
}

// Reads the argument of `syntax` from `rest` into `command`; false when it does not fit.
bool ParseArgument(const OpSyntax& syntax, std::string_view rest, ReplayCommand& command) {
    switch (syntax.argument) {
    case Argument::None:
        return rest.empty();
    case Argument::Number: {
        auto number = ParseNumber(rest, syntax.low, syntax.high);
        command.number = number.value_or(0);
        return number.has_value();
    }
    case Argument::Text:
        command.text = std::string(rest);
        return !rest.empty() || syntax.op == ReplayOp::State;
    case Argument::Point:
        return ParsePoint(rest, command);
    case Argument::Check:
        return ParseCheck(rest, syntax, command);
    case Argument::Joy:
        return ParseJoy(rest, syntax, command);
    }
    return false;
}

std::string ArgumentError(const OpSyntax& syntax, std::string_view rest) {
    const std::string word = "'" + std::string(syntax.name) + "'";
    switch (syntax.argument) {
    case Argument::None:
        return word + " takes no argument";
    case Argument::Text:
        return word + (syntax.op == ReplayOp::Shot ? " needs a file name" : " needs a version");
    default:
        return word + " needs " + Expected(syntax) + ", not '" + std::string(rest) + "'";
    }
}

// One non-blank, comment-free line into a command; an error message on failure.
std::optional<ReplayCommand> ParseLine(std::string_view body, int line, std::string& error) {
    std::string_view rest = body;
    const std::string_view word = NextWord(rest);
    for (const OpSyntax& syntax : kOps) {
        if (syntax.name != word)
            continue;
        ReplayCommand command{syntax.op, line};
        if (!ParseArgument(syntax, rest, command)) {
            error = LineError(line, ArgumentError(syntax, rest));
            return std::nullopt;
        }
        return command;
    }
    error = LineError(line, "unknown command '" + std::string(word) + "'");
    return std::nullopt;
}

struct OrderState {
    bool started = false;
    bool stateSeen = false;
    bool first = true;
};

// The order rules: what may come before the game starts and what only after it.
std::string CheckOrder(const ReplayCommand& command, OrderState& order) {
    const bool first = order.first;
    order.first = false;
    switch (command.op) {
    case ReplayOp::Version:
        return first ? std::string() : LineError(command.line, "'version' must come first");
    case ReplayOp::State:
        if (order.started)
            return LineError(command.line, "'state' must come before 'boot'");
        if (order.stateSeen)
            return LineError(command.line, "'state' given twice");
        order.stateSeen = true;
        return {};
    case ReplayOp::Boot:
    case ReplayOp::Start:
        if (order.started)
            return LineError(command.line, std::string("'") +
                                               (command.op == ReplayOp::Boot ? "boot" : "start") +
                                               "' given twice");
        order.started = true;
        return {};
    case ReplayOp::Press:
    case ReplayOp::Release:
        return {};
    default:
        if (!order.started)
            return LineError(command.line, "the game has not been started: 'boot' first");
        return {};
    }
}

// The shortest decimal that reads back as the same float (9 significant digits always do).
std::string FloatText(float value) {
    char buffer[32];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(buffer, nullptr) == value)
            break;
    }
    return buffer;
}

} // namespace

ReplayParseResult ParseReplayScript(std::string_view text) {
    ReplayScript script;
    OrderState order;
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
            error = CheckOrder(*command, order);
        if (!error.empty())
            return {std::nullopt, error};
        script.commands.push_back(std::move(*command));
    }
    return {std::move(script), {}};
}

std::string ReplayCommandText(const ReplayCommand& command) {
    const OpSyntax* syntax = &kOps[0];
    while (syntax->op != command.op)
        ++syntax;
    std::string text(syntax->name);
    switch (syntax->argument) {
    case Argument::None:
        break;
    case Argument::Number:
        text += ' ' + std::to_string(command.number);
        break;
    case Argument::Text:
        if (!command.text.empty())
            text += ' ' + command.text;
        break;
    case Argument::Point:
        text += ' ' + std::to_string(command.number) + ' ' + std::to_string(command.number2);
        break;
    case Argument::Check: {
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(command.hash));
        text += ' ' + std::to_string(command.number) + ' ' + hash;
        break;
    }
    case Argument::Joy:
        text += ' ' + std::to_string(command.number);
        if (!command.axes) {
            text += " off";
            break;
        }
        for (float axis : *command.axes)
            text += ' ' + FloatText(axis);
        break;
    }
    return text;
}

std::optional<std::string> ReadReplayFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad())
        return std::nullopt;
    return text.str();
}
