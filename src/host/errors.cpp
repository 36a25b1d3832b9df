// Standard-output messages and the fatal paths of the program.
#include "host/errors.h"

#include "host/app.h"
#include "host/game_session.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

void bbPrint(const String& message) {
    std::string text = bb_utf8_Encode(message);
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void bbError(const String& message) {
    if (message.empty()) {
        // The application's way to quit. The devices are closed here, in their own order, while
        // everything they use still exists (the audio device finishes its output).
        bb_app_ReleaseDevices();
        bb_host_Exit(0);
    }
    dbg_error(bb_narrow(message).c_str());
}

void dbg_error(const char* message) {
    std::printf("Zibbet Runtime Error : %s\n\n", message);
    // No clean-up: a loader thread or a signal may have brought us here.
    bb_host_Exit(-1);
}

void bb_host_Exit(int status) {
    bb_host_CloseSession();
    // The process's globals are not safe to destroy while a loader thread may use them.
    std::fflush(nullptr);
    std::_Exit(status);
}

void bb_host_SignalHandler(int signal) {
    switch (signal) {
    case SIGFPE:
        dbg_error("Floating point exception");
    case SIGSEGV:
        dbg_error("Memory access violation");
    case SIGILL:
        dbg_error("Illegal instruction");
    default:
        dbg_error("Unknown signal");
    }
}

void bb_host_InstallSignalHandlers() {
    std::signal(SIGSEGV, bb_host_SignalHandler);
    std::signal(SIGILL, bb_host_SignalHandler);
    std::signal(SIGFPE, bb_host_SignalHandler);
}

void onGlfwError(int error, const char* description) {
    std::printf("GLFW Error: err=%i, msg=%s\n", error, description ? description : "");
    std::fflush(stdout);
}
