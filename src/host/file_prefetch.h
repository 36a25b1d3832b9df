// Files the game's start will decode, decoded ahead on a thread beside the main one while it
// opens the window and its context; the load that asks for one later takes what was decoded
// instead of decoding it again. Results are keyed by the caller's name for the file and are
// handed over once.
#pragma once

#include "runtime/string.h"

#include <functional>
#include <optional>
#include <utility>
#include <vector>

// What a decoder made of a file: a block from malloc (null when the file could not be
// decoded) and up to four numbers describing it (an image's width, height and depth; a sound's
// length, channels, format and rate).
struct BBDecodedFile {
    void* data = nullptr;
    int values[4] = {0, 0, 0, 0};
};

using BBDecodeJob = std::function<BBDecodedFile()>;

// Runs the jobs one after another, in order, on one thread beside the caller; replaces any
// earlier prefetch (see bb_prefetch_Drop). Does nothing where the platform runs nothing beside
// the caller (a page): a job there would only run after whoever waits for it.
void bb_prefetch_Start(std::vector<std::pair<String, BBDecodeJob>> jobs);
// The result of the job named `key` that decoded something, waiting for the job if it has not
// finished; nothing when there is no such job (never started, taken already, dropped) or it
// decoded nothing, and the caller decodes the file itself, failing as it always would.
std::optional<BBDecodedFile> bb_prefetch_Take(const String& key);
// Ends the prefetch: the jobs not started are dropped, the one running is waited for, and what
// was decoded and not taken is freed.
void bb_prefetch_Drop();
