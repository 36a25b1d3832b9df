// The persistent state: one string kept as UTF-8 in "./.zibbetstate" in the working folder, and
// replaced whole (a temporary file beside it is renamed over it) so a failed save loses nothing.
#pragma once

#include "runtime/string.h"

#include <string_view>

// The name of the state file, relative to the working folder.
extern const char16_t* const bb_files_stateFileName;

// The largest state file that is read; the settings take a few hundred bytes.
constexpr long long bb_files_largestStateFile = 1 << 20;

// True when `fileName` is a regular file of at most bb_files_largestStateFile bytes. Anything
// else in its place (a FIFO or a device that would block or never end, a folder, a huge file)
// is not read, and the game starts as if there were no state.
bool bb_files_IsReadableStateFile(const String& fileName);

// Writes `bytes` to a temporary file in the same folder and renames it over `fileName`; a
// symbolic link is kept and its target replaced, and the file keeps its mode (a new one gets
// 0666 under the umask). A folder that takes no new file but holds a writable one has the file
// overwritten in place instead. 0 on success; -1 when the file cannot be created or put in
// place; -2 when fewer bytes were written than given. On failure the old file is left as it
// was, but for an in-place write that stopped short.
int bb_files_ReplaceFile(const String& fileName, std::string_view bytes);
