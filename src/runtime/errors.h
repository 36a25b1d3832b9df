// The two calls every layer may make to report: a line on standard output, and the end of the
// program. Declared here, below everything, so that file, input and drawing code can report
// without reaching up to the host; the host defines them (host/errors.cpp), since ending the
// program means closing the devices it owns.
#pragma once

#include "runtime/string.h"

// The string as UTF-8, then a newline; flushed.
void bbPrint(const String& message);
// Empty message: the normal quit, status 0. Otherwise a runtime error, status 255 (-1).
[[noreturn]] void bbError(const String& message);
