// Reading a script that may come from anyone: a regular file or a stream, never more than a
// script can hold, so that a device, a pipe or a huge file is a message and not a hang.
#pragma once

#include "replay/replay_script.h"

#include <cstddef>
#include <optional>
#include <string>

// The most bytes a script may hold. An hour of keyboard play records well under a megabyte.
inline constexpr size_t kReplayFileLimit = size_t{64} << 20;

struct ReplayFileText {
    std::optional<std::string> text;
    // "cannot read 'NAME': why", "'NAME' is not a regular file", "'NAME' is larger than ...".
    std::string error;
};

// The whole of the regular file at `path`.
ReplayFileText ReadReplayFile(const std::string& path);
// Everything on the descriptor `fd`, called `name` in messages ("-": standard input); `expected`
// bytes are made room for at once.
ReplayFileText ReadReplayStream(int fd, const std::string& name, size_t expected = 0);

// The script in `file`, read and checked. A mistake past one of the limits names the file too
// (`name`, as the user gave it, "-" for standard input): the script may have come from anywhere.
ReplayParseResult ParseReplayFile(ReplayFileText file, const std::string& name);
