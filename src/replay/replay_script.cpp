// Reads a replay script into commands, checking every argument and the order of the commands,
// and writes a command back as its script line.
#include "replay/replay_script.h"

#include "game/tazzle.h"
#include "graphics/virtual_display.h"
#include "input/input_device.h"
#include "replay/shown_text.h"
#include "screens/title_screen.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

enum class Argument {
    None,
    Number,
    Text,
    Point, // two whole numbers, x and y on the virtual screen
    Check, // an update number and a hash in 16 hexadecimal digits
    Joy,   // a port and six stick values, or the port and "off"
    Hash,  // 16 hexadecimal digits
    Carry, // the best score, the skis, the menu's line, its pressed line or "-", its stick 0 or 1,
           // then the road's three and the slope's three leftovers
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
    {"data", ReplayOp::Data, Argument::Hash},
    {"carry", ReplayOp::Carry, Argument::Carry, 0, INT32_MAX},
};

constexpr std::uint32_t kLastMenuLine = c_TitleScreen::kMenuLines - 1;

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

// Decimal digits only (a leading '-' where `Wide` is signed): no spaces inside, no trailing
// characters, at most `digits` characters, within low..high.
template <typename Result, typename Wide>
std::optional<Result> ParseInRange(std::string_view text, Wide low, Wide high, size_t digits) {
    Wide value = 0;
    if (text.empty() || text.size() > digits)
        return std::nullopt;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return static_cast<Result>(value);
}

std::optional<std::uint32_t> ParseNumber(std::string_view text, std::uint32_t low,
                                         std::uint32_t high) {
    return ParseInRange<std::uint32_t, std::uint64_t>(text, low, high, 10);
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
    const float value = std::strtof(word.c_str(), &end);
    // A value too small for a float's full precision reads as the nearest (ERANGE says so).
    if (word.empty() || end != word.c_str() + word.size() || !std::isfinite(value))
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

std::optional<int> ParseSigned(std::string_view text, int low, int high) {
    return ParseInRange<int, long long>(text, low, high, 11);
}

// The road's dead timer, next state and ambulance's x, the slope's timer, bump and sub-row.
bool ParseLeftovers(std::string_view& rest, ReplayCarry& carry) {
    constexpr int kAny = std::numeric_limits<int>::max();
    constexpr std::array<std::pair<int, int>, 6> kRanges = {{{-kAny, kAny},
                                                             {0, c_MainState::Last},
                                                             {-kAny, kAny},
                                                             {-kAny, kAny},
                                                             {0, 1},
                                                             {-kAny, kAny}}};
    for (size_t i = 0; i < kRanges.size(); ++i) {
        const auto value = ParseSigned(NextWord(rest), kRanges[i].first, kRanges[i].second);
        if (!value)
            return false;
        (i < 3 ? carry.road[i] : carry.ski[i - 3]) = *value;
    }
    return true;
}

bool ParseCarry(std::string_view rest, const OpSyntax& syntax, ReplayCommand& command) {
    auto hiScore = ParseNumber(NextWord(rest), syntax.low, syntax.high);
    auto skiDamage = ParseNumber(NextWord(rest), syntax.low, syntax.high);
    auto line = ParseNumber(NextWord(rest), 0, kLastMenuLine);
    const std::string_view pressedWord = NextWord(rest);
    auto pressed = ParseNumber(pressedWord, 0, kLastMenuLine);
    auto stickReady = ParseNumber(NextWord(rest), 0, 1);
    if (!hiScore || !skiDamage || !line || (!pressed && pressedWord != "-") || !stickReady)
        return false;
    command.carry = {*hiScore, *skiDamage, static_cast<int>(*line),
                     pressed ? static_cast<int>(*pressed) : -1, *stickReady == 1};
    return ParseLeftovers(rest, command.carry) && rest.empty();
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
    case Argument::Hash:
        return "a digest of 16 hexadecimal digits";
    case Argument::Joy:
        return "a port from 0 to " + std::to_string(kLastJoystickPort) +
               " and six stick values, or the port and 'off'";
    case Argument::Carry:
        return "a best score and a skis' state from 0 to " + std::to_string(syntax.high) +
               ", a menu line from 0 to " + std::to_string(kLastMenuLine) +
               ", the pressed line or '-', the stick's 0 or 1, and the road's dead timer, next "
               "state (0 to " +
               std::to_string(c_MainState::Last) +
               ") and ambulance's x, the slope's timer, bump (0 or 1) and sub-row";
    case Argument::None:
    case Argument::Text:
        break;
    }
    return {};
}

// A shot's name: a file right inside the folder the tool was given, nothing a name could climb out
// of it with, and nothing a terminal or the C library would read differently.
bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos ||
        name.find("..") != std::string_view::npos || name == ".")
        return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return false;
    }
    return true;
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
        if (syntax.op == ReplayOp::Shot)
            return IsPlainFileName(rest);
        return !rest.empty() || syntax.op == ReplayOp::State;
    case Argument::Point:
        return ParsePoint(rest, command);
    case Argument::Check:
        return ParseCheck(rest, syntax, command);
    case Argument::Joy:
        return ParseJoy(rest, syntax, command);
    case Argument::Carry:
        return ParseCarry(rest, syntax, command);
    case Argument::Hash: {
        auto hash = ParseHash(rest);
        command.hash = hash.value_or(0);
        return hash.has_value();
    }
    }
    return false;
}

std::string ArgumentError(const OpSyntax& syntax, std::string_view rest) {
    const std::string word = "'" + std::string(syntax.name) + "'";
    switch (syntax.argument) {
    case Argument::None:
        return word + " takes no argument";
    case Argument::Text:
        if (syntax.op != ReplayOp::Shot)
            return word + " needs a version";
        if (rest.empty())
            return word + " needs a file name";
        return word + " needs a plain file name (no '/', no '..'), not '" + ShownText(rest) + "'";
    default:
        return word + " needs " + Expected(syntax) + ", not '" + ShownText(rest) + "'";
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
    error = LineError(line, "unknown command '" + ShownText(word) + "'");
    return std::nullopt;
}

struct OrderState {
    bool started = false;
    bool stateSeen = false;
    bool carried = false;
    bool first = true;
    // Nothing but `version` so far.
    bool preamble = true;
};

// The order rules: what may come before the game starts and what only after it.
std::string CheckOrder(const ReplayCommand& command, OrderState& order) {
    const bool first = order.first;
    const bool preamble = order.preamble;
    order.first = false;
    order.preamble = preamble && command.op == ReplayOp::Version;
    switch (command.op) {
    case ReplayOp::Version:
        return first ? std::string() : LineError(command.line, "'version' must come first");
    case ReplayOp::Data:
        return preamble
                   ? std::string()
                   : LineError(command.line, "'data' must come first, or right after 'version'");
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
    case ReplayOp::Carry:
        if (!order.started)
            return LineError(command.line, "the game has not been started: 'boot' first");
        if (order.carried)
            return LineError(command.line, "'carry' given twice");
        order.carried = true;
        return {};
    default:
        if (!order.started)
            return LineError(command.line, "the game has not been started: 'boot' first");
        return {};
    }
}

std::string HashText(std::uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
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

// The lines of a script's text, from an offset on, counted from 1.
class ScriptLines {
public:
    explicit ScriptLines(std::string_view text, size_t offset = 0, int line = 0)
        : _text(text), _offset(offset), _line(line) {}
    // The next line without its newline; none at the end.
    std::optional<std::string_view> Next() {
        if (_offset >= _text.size())
            return std::nullopt;
        ++_line;
        const size_t eol = _text.find('\n', _offset);
        const size_t end = eol == std::string_view::npos ? _text.size() : eol;
        const std::string_view line = _text.substr(_offset, end - _offset);
        _offset = eol == std::string_view::npos ? _text.size() : eol + 1;
        return line;
    }
    int Line() const { return _line; }
    size_t Offset() const { return _offset; }

private:
    std::string_view _text;
    size_t _offset;
    int _line;
};

// A line without its comment and the blanks around it.
std::string_view Body(std::string_view line) {
    if (const size_t hash = line.find('#'); hash != std::string_view::npos)
        line = line.substr(0, hash);
    return Trim(line);
}

} // namespace

ReplayParseResult ParseReplayScript(std::string text) {
    ScriptLines lines(text);
    OrderState order;
    std::int64_t steps = 0;
    ReplayScript script;
    while (std::optional<std::string_view> raw = lines.Next()) {
        if (raw->size() > kReplayLineLimit)
            return {std::nullopt,
                    LineError(lines.Line(), "longer than " + std::to_string(kReplayLineLimit) +
                                                " bytes, the most a line may be"),
                    true};
        const std::string_view body = Body(*raw);
        if (body.empty())
            continue;
        std::string error;
        std::optional<ReplayCommand> command = ParseLine(body, lines.Line(), error);
        if (command)
            error = CheckOrder(*command, order);
        if (!error.empty())
            return {std::nullopt, error};
        if (command->op == ReplayOp::Step && (steps += command->number) > kReplayUpdateLimit)
            return {std::nullopt,
                    LineError(lines.Line(), "the steps come to more than " +
                                                std::to_string(kReplayUpdateLimit) +
                                                " updates, the most a script may run"),
                    true};
        if (command->op == ReplayOp::Shot && script._shotLine == 0)
            script._shotLine = lines.Line();
    }
    script._text = std::move(text);
    return {std::move(script), {}};
}

std::optional<ReplayCommand> ReplayScript::Next(Cursor& cursor) const {
    ScriptLines lines(_text, cursor.offset, cursor.line);
    while (std::optional<std::string_view> raw = lines.Next()) {
        const std::string_view body = Body(*raw);
        if (body.empty())
            continue;
        cursor = {lines.Offset(), lines.Line()};
        std::string error;
        // Checked as the script was read: it parses again.
        return ParseLine(body, lines.Line(), error);
    }
    cursor = {lines.Offset(), lines.Line()};
    return std::nullopt;
}

std::vector<ReplayCommand> ReplayScript::Commands() const {
    std::vector<ReplayCommand> commands;
    Cursor cursor;
    while (std::optional<ReplayCommand> command = Next(cursor))
        commands.push_back(std::move(*command));
    return commands;
}

float ReplayStickValue(float value) {
    if (std::isnan(value) || std::fpclassify(value) == FP_SUBNORMAL)
        return 0;
    return std::clamp(value, -1.0f, 1.0f);
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
    case Argument::Check:
        text += ' ' + std::to_string(command.number) + ' ' + HashText(command.hash);
        break;
    case Argument::Hash:
        text += ' ' + HashText(command.hash);
        break;
    case Argument::Joy:
        text += ' ' + std::to_string(command.number);
        if (!command.axes) {
            text += " off";
            break;
        }
        for (float axis : *command.axes)
            text += ' ' + FloatText(axis);
        break;
    case Argument::Carry: {
        const ReplayCarry& carry = command.carry;
        text += ' ' + std::to_string(carry.hiScore) + ' ' + std::to_string(carry.skiDamage) + ' ' +
                std::to_string(carry.line) + ' ' +
                (carry.pressedLine < 0 ? std::string("-") : std::to_string(carry.pressedLine)) +
                ' ' + (carry.stickReady ? '1' : '0');
        for (int value : carry.road)
            text += ' ' + std::to_string(value);
        for (int value : carry.ski)
            text += ' ' + std::to_string(value);
        break;
    }
    }
    return text;
}
