// The host's fatal paths: its way out of the program, which it hands to bbError and dbg_error
// (runtime/errors.h), the signal handler and GLFW's error callback.
#pragma once

#include "runtime/errors.h"

// Every way out of the program ends here: a recording's last updates written, output flushed,
// then the process ends with the status at once, nothing torn down, since loader threads may
// still be running. kHostExitAbort ends it as an abort does, killed by SIGABRT.
[[noreturn]] void bb_host_Exit(int status);
constexpr int kHostExitAbort = -134;
// bb_runtime_exit as the host sets it: a quit (status 0) closes the devices first, in their own
// order, while everything they use still exists; then bb_host_Exit.
[[noreturn]] void bb_host_EndProgram(int status);
// SIGSEGV, SIGILL and SIGFPE end the program with dbg_error's message and status, written and
// ended by async-signal-safe calls alone. The stop signals (SIGABRT, SIGBUS, SIGINT, SIGTERM,
// SIGHUP) close the session the same way, then take their default action.
void bb_host_SignalHandler(int signal);
void bb_host_InstallSignalHandlers();
// While a session writes a file: the stop signals caught too, and a write past a file-size limit
// an error rather than a signal.
void bb_host_CatchStopSignals();
// Prints "GLFW Error: err=%i, msg=%s" and goes on.
void onGlfwError(int error, const char* description);
