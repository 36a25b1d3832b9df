// Standard-output messages and the two fatal calls. Everything printed goes out whole and at
// once, and the end itself is the host's when there is one (bb_runtime_exit).
#include "runtime/errors.h"

#include <cstdio>
#include <cstdlib>

void (*bb_runtime_exit)(int status) = nullptr;

namespace {

[[noreturn]] void EndProgram(int status) {
    if (bb_runtime_exit)
        bb_runtime_exit(status);
    // No host, so nothing of its to close; no clean-up either, as a thread may still be running.
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace

void bb_runtime_PrintLine(std::string text) {
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void bbPrint(const String& message) {
    bb_runtime_PrintLine(bb_utf8_Encode(message));
}

void bbError(const String& message) {
    if (message.empty())
        EndProgram(0);
    dbg_error(bb_narrow(message).c_str());
}

void dbg_error(const char* message) {
    bb_runtime_PrintLine(std::string(BB_RUNTIME_ERROR) + message + "\n");
    EndProgram(-1);
}
