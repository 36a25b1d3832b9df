// The folder of kept runs: one file a game, named by the time it started (UTC) so that the names
// sort by time: "20261208-090312.replay", and "20261208-090312-2.replay" for a second game started
// in the same second. Nothing else in the folder is ever touched: only files with such names are
// listed or deleted, only regular ones, and a link is never followed.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// The name of the `copy`th run started at `when` (1 for the first).
std::string KeptRunName(std::time_t when, int copy);
// Whether `name` is a kept run's name.
bool IsKeptRunName(std::string_view name);
// Whether kept run `a` is newer than `b` (both kept runs' names).
bool KeptRunNewer(std::string_view a, std::string_view b);

// The names of the kept runs in `folder`, newest first; none when there is no such folder.
std::vector<std::string> KeptRuns(const std::string& folder);
// Makes `folder` if need be and creates a new file in it for a run started at `when`, never
// replacing one; its descriptor, with its path in `path`, or -1 with errno set.
int CreateKeptRun(const std::string& folder, std::time_t when, std::string& path);
// Deletes all but the `keep` newest kept runs in `folder`.
void PruneKeptRuns(const std::string& folder, int keep);
