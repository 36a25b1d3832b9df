// What the game needs from the operating system beside the window (GLFW on both platforms, its
// platform part in glfw_platform_*.cpp) and the audio device (OpenAL on both): the program
// folder, sleeping, running work apart from the frame loop, the state file and opening a URL.
// Defined once for the desktop (platform_desktop.cpp) and once for the browser
// (platform_web.cpp); the build picks one, no game file asks which.
#pragma once

#include "runtime/string.h"

#include <functional>
#include <string>
#include <string_view>

// The folder holding the running program ("/" separators, no trailing "/"). Computed once,
// safely from any thread; the host asks for it before any loader starts.
const String& bb_platform_ProgramDirectory();

// Blocks the calling thread for the given whole milliseconds (a page never blocks: nothing).
void bb_platform_SleepMillis(int milliseconds);

// Runs `body` apart from the frame loop: on a detached thread of its own on the desktop, on a
// later turn of the browser's event loop in a page. The platform keeps `body` alive until it has
// run. False when it could not be started.
bool bb_platform_StartDetached(std::function<void()> body);
// True where a started body runs beside the caller at once (a thread); false where it waits for
// a later turn (a page), so that work started early gains nothing and must never be waited for.
bool bb_platform_RunsBeside();
// Runs at once, on the caller, in start order, every started body that is only waiting for its
// turn (a page's); a body started meanwhile runs too. Threads need nothing: they run anyway.
void bb_platform_RunWaitingBodies();

// The state file: on the desktop in the player's config folder (bb_files_StateFileName), whatever
// folder the game starts in; a page keeps it in its storage under the name it always had.
String bb_platform_StateFileName();
// The bytes of the state file `fileName` (a path the host has mapped), or empty when there is
// none or it is no file to read: the game then starts as if nothing had been saved.
std::string bb_platform_ReadState(const String& fileName);
// Replaces the state file whole, durably before it returns, making its folder first if need be. 0
// on success, -1 when it cannot be written, -2 when it was written short; on failure the old state
// stays.
int bb_platform_WriteState(const String& fileName, std::string_view bytes);

// The data file that holds the sound the game names `path`. The desktop reads the file named; a
// page carries every sound as Ogg Vorbis, made from the same sources as the desktop's files but a
// fraction of the download, so "Sounds/X.wav" is read from "Sounds/X.ogg" there.
String bb_platform_SoundFile(const String& path);

// Hands the URL to the desktop's browser (xdg-open, the URL its one argument, no shell) or opens
// it in a new tab. False when that could not start.
bool bb_platform_OpenUrl(const String& url);

// The folder the game keeps every game in, as a recording: on the desktop "runs" in the game's
// state folder (XDG_STATE_HOME, by default ~/.local/state/skiddlewick/runs), empty when there is
// none; in a page "/runs" in its in-memory file system.
String bb_platform_RunsFolder();
// The kept run at `path` has grown by a check (`ended` false) or has ended (`ended` true), with the
// score and level reached so far and the updates it holds. A page hands the file to its own
// storage here; the desktop's file is already where it stays.
void bb_platform_RunKept(const std::string& path, bool ended, int score, int level,
                         long long updates);
