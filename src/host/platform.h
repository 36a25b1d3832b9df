// The small stand-ins for what the host needs from the operating system: the program's own
// folder, sleeping, and handing a URL to the desktop.
#pragma once

#include "runtime/string.h"

// The folder holding the running program ("/" separators, no trailing "/"). Computed once,
// safely from any thread; the host asks for it before any loader thread starts.
const String& bb_platform_ProgramDirectory();
// Blocks the calling thread for the given whole milliseconds.
void bb_platform_SleepMillis(int milliseconds);
// Starts xdg-open with the URL as its one argument (no shell). False when it could not start.
bool bb_platform_OpenUrl(const String& url);
