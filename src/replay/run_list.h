// skiddlewick --runs: the kept runs, newest first, one a line: when the game started (local time),
// its score, the level reached, its length in game time and the file. Each file is read only at
// its head (when) and its tail (the summary its ending wrote); a run that ended without one (the
// program killed) shows "?" for what it lacks.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

// What a kept run's list line shows, as read from its file.
struct KeptRunSummary {
    std::optional<long long> started; // seconds since the epoch
    std::optional<int> score;
    std::optional<int> level;
    std::optional<long long> updates;
};

// The head and tail of the file at `path`, at most a few kilobytes of it.
KeptRunSummary ReadKeptRunSummary(const std::string& path);
// "2026-12-08 10:03  score 1234  level 3   1:30  PATH", the path escaped as messages show text.
std::string KeptRunLine(const KeptRunSummary& summary, const std::string& path);
// Lists the kept runs of `folder` on `out`; a line saying there are none when there are none.
// Returns the program's exit status: 0.
int ListKeptRuns(const std::string& folder, std::FILE* out);
