// The host's fatal paths. Every way out ends in bb_host_Exit, but for a signal, whose handler may
// only write and _exit.
#include "host/errors.h"

#include "host/app.h"
#include "host/game_session.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// The signal handler's messages, written whole, nothing formatted at the time.
constexpr std::string_view kFloatingPoint = BB_RUNTIME_ERROR "Floating point exception\n\n";
constexpr std::string_view kMemoryAccess = BB_RUNTIME_ERROR "Memory access violation\n\n";
constexpr std::string_view kIllegal = BB_RUNTIME_ERROR "Illegal instruction\n\n";
constexpr std::string_view kUnknownSignal = BB_RUNTIME_ERROR "Unknown signal\n\n";

// write(2) until everything is out or the output is gone; safe inside a signal handler.
void WriteAll(std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(STDOUT_FILENO, text.data(), text.size());
        if (written <= 0)
            return;
        text.remove_prefix(static_cast<size_t>(written));
    }
}

} // namespace

void bb_host_EndProgram(int status) {
    // The application's way to quit closes the devices (the audio device finishes its output).
    // After an error nothing is cleaned up: a loader thread may have brought us here.
    if (status == 0)
        bb_app_ReleaseDevices();
    bb_host_Exit(status);
}

void bb_host_Exit(int status) {
    bb_host_CloseSession();
    if (status == 0 && bb_host_session && bb_host_session->Failed())
        status = 1;
    // The process's globals are not safe to destroy while a loader thread may use them.
    std::fflush(nullptr);
    if (status == kHostExitAbort) {
        std::signal(SIGABRT, SIG_DFL);
        std::raise(SIGABRT);
    }
    std::_Exit(status);
}

void bb_host_SignalHandler(int signal) {
    switch (signal) {
    case SIGFPE:
        WriteAll(kFloatingPoint);
        break;
    case SIGSEGV:
        WriteAll(kMemoryAccess);
        break;
    case SIGILL:
        WriteAll(kIllegal);
        break;
    default:
        WriteAll(kUnknownSignal);
        break;
    }
    bb_host_CloseSessionOnSignal();
    _exit(255);
}

void bb_host_InstallSignalHandlers() {
    std::signal(SIGSEGV, bb_host_SignalHandler);
    std::signal(SIGILL, bb_host_SignalHandler);
    std::signal(SIGFPE, bb_host_SignalHandler);
}

void onGlfwError(int error, const char* description) {
    bb_runtime_PrintLine("GLFW Error: err=" + std::to_string(error) +
                         ", msg=" + (description ? description : ""));
}
