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

// The signals that end the program without a fault of its own (or with one it asked for): a
// recording keeps every update through them, then they act as they would have.
constexpr int kStopSignals[] = {SIGABRT, SIGBUS, SIGINT, SIGTERM, SIGHUP};

bool IsStopSignal(int signal) {
    for (const int stop : kStopSignals) {
        if (stop == signal)
            return true;
    }
    return false;
}

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
    status = bb_host_CloseSession(status);
    // The process's globals are not safe to destroy while a loader thread may use them.
    std::fflush(nullptr);
    if (status == kHostExitAbort) {
        std::signal(SIGABRT, SIG_DFL);
        std::raise(SIGABRT);
    }
    std::_Exit(status);
}

void bb_host_SignalHandler(int signal) {
    if (IsStopSignal(signal)) {
        bb_host_CloseSessionOnSignal();
        // The signal's own action, so that whoever waits for the program sees what ended it.
        std::signal(signal, SIG_DFL);
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, signal);
        sigprocmask(SIG_UNBLOCK, &set, nullptr);
        raise(signal);
        _exit(128 + signal);
    }
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

void bb_host_CatchStopSignals() {
    for (const int signal : kStopSignals)
        std::signal(signal, bb_host_SignalHandler);
    // Past a file-size limit a write fails (and is reported) instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
}

void onGlfwError(int error, const char* description) {
    bb_runtime_PrintLine("GLFW Error: err=" + std::to_string(error) +
                         ", msg=" + (description ? description : ""));
}
