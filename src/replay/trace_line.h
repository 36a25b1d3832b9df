// One line of the replay trace: the game's progress after an update as key=value fields, plus
// the road or ski screen's own fields while one of them is playing; and its hash, which
// recordings carry as checks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Appends fields to a line: "key=value" separated by single spaces.
class TraceFields {
public:
    void Add(const char* key, const std::string& value);
    void Add(const char* key, long long value);
    // The values joined by `separator` (an empty list gives "key=").
    void AddList(const char* key, const std::vector<std::string>& values, char separator);
    const std::string& Text() const { return _text; }

private:
    std::string _text;
};

// The values joined with `separator`: "1,0,3".
std::string JoinValues(const std::vector<long long>& values, char separator);

// The whole line for update `update`, with the game key codes that were down during it.
std::string TraceLine(std::int64_t update, const std::vector<int>& keysDown);

// The game key codes the input device holds down now, ascending (none before the game starts).
std::vector<int> KeysDown();

// A recording's check of a trace line: its 64-bit FNV-1a hash.
std::uint64_t TraceHash(const std::string& line);
// 64-bit FNV-1a, continued over `bytes` from `hash` (the offset basis to begin).
inline constexpr std::uint64_t kFnvOffsetBasis = 14695981039346656037ull;
std::uint64_t FnvHash(std::string_view bytes, std::uint64_t hash = kFnvOffsetBasis);
