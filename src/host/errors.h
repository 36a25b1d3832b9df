// Standard-output messages and the fatal paths: bbPrint, bbError, dbg_error, the signal handler
// and GLFW's error callback.
#pragma once

#include "runtime/string.h"

// The string as UTF-8, then a newline; flushed.
void bbPrint(const String& message);
// Empty message: the normal quit, status 0. Otherwise a runtime error, status 255 (-1).
[[noreturn]] void bbError(const String& message);
// "Zibbet Runtime Error : " + message, an empty position line, then status 255 (-1).
[[noreturn]] void dbg_error(const char* message);
// Every way out of the program ends here: output flushed, then the process ends with the status
// at once, nothing torn down, since loader threads may still be running.
[[noreturn]] void bb_host_Exit(int status);
// SIGSEGV, SIGILL and SIGFPE end the program through dbg_error.
void bb_host_SignalHandler(int signal);
void bb_host_InstallSignalHandlers();
// Prints "GLFW Error: err=%i, msg=%s" and goes on.
void onGlfwError(int error, const char* description);
