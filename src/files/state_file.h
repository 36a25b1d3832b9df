// The persistent state: one string kept as UTF-8 in ".zibbetstate" in the player's config folder,
// and replaced whole (a temporary file beside it is renamed over it) so a failed save loses
// nothing.
#pragma once

#include "runtime/string.h"

#include <string_view>

// The state file as older versions kept it, in the working folder; also its name in a page's
// storage.
extern const char16_t* const bb_files_stateFileName;

// The game's folder under one of the XDG base directories: `xdgHome` + "/skiddlewick", or, when
// that is unset, empty or relative (which the XDG base directories say to ignore), `home` + "/" +
// `homeDefault` + "/skiddlewick". Empty when neither is an absolute folder.
String bb_files_XdgFolder(const char* xdgHome, const char* home, const char16_t* homeDefault);
// The folder of the player's own files: `xdgConfigHome` + "/skiddlewick", or, when that is unset,
// empty or relative (which the XDG base directories say to ignore), `home` +
// "/.config/skiddlewick". Empty when neither is an absolute folder.
String bb_files_ConfigFolder(const char* xdgConfigHome, const char* home);
// The same from this process's XDG_CONFIG_HOME and HOME.
String bb_files_ConfigFolder();
// The folder of what the game keeps for the player beyond the settings (XDG_STATE_HOME, by
// default ~/.local/state/skiddlewick); empty when there is none.
String bb_files_StateFolder();
// The state file in the config folder; with no config folder, the working folder's.
String bb_files_StateFileName();

// True when anything at all is there, a link to nowhere included.
bool bb_files_Exists(const String& fileName);
// The folder and any parents it lacks, each made private to the player (0700), as the XDG base
// directories ask. True when the folder is there at the end.
bool bb_files_MakeFolders(const String& folder);

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
