// The calls every layer may make to report: a line on standard output, and the end of the
// program. They live here, below everything, so that file, input and drawing code can report
// without reaching up to the host. Ending the program also means closing what the host owns (its
// devices, the run's recording): the host hands its way out down through bb_runtime_exit when it
// is made.
#pragma once

#include "runtime/string.h"

#include <string>

// The prefix of every fatal message; a macro, so that the host's signal handler can have its
// messages joined at compile time.
#define BB_RUNTIME_ERROR "Zibbet Runtime Error : "

// The string as UTF-8, then a newline; flushed.
void bbPrint(const String& message);
// Empty message: the normal quit, status 0. Otherwise a runtime error, status 255 (-1).
[[noreturn]] void bbError(const String& message);
// BB_RUNTIME_ERROR + message, an empty position line, then status 255 (-1).
[[noreturn]] void dbg_error(const char* message);
// The text and a newline, written whole and flushed.
void bb_runtime_PrintLine(std::string text);

// How bbError and dbg_error end the program with a status (0: a quit, -1: an error); it must not
// return. Null until the host sets its own: the output is then flushed and the process ends.
extern void (*bb_runtime_exit)(int status);
