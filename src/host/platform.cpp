// Operating-system stand-ins for the host: the program folder, sleeping, opening a URL.
#include "host/platform.h"

#include <chrono>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

String ComputeProgramDirectory() {
    std::string exe;
    // No fixed limit on the name's length: a deep install folder must still find its data.
    for (size_t size = 256;; size *= 2) {
        exe.resize(size);
        ssize_t n = readlink("/proc/self/exe", exe.data(), size);
        if (n < 0) {
            exe.clear();
            break;
        }
        if (static_cast<size_t>(n) < size) {
            exe.resize(static_cast<size_t>(n));
            break;
        }
    }
    String path = bb_str(exe);
    for (char16_t& c : path) {
        if (c == u'\\')
            c = u'/';
    }
    size_t slash = path.rfind(u'/');
    return slash == String::npos ? String() : path.substr(0, slash);
}

} // namespace

const String& bb_platform_ProgramDirectory() {
    // Initialised exactly once, whichever thread asks first.
    static const String dir = ComputeProgramDirectory();
    return dir;
}

void bb_platform_SleepMillis(int milliseconds) {
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool bb_platform_OpenUrl(const String& url) {
    std::string arg = bb_utf8_Encode(url);
    char program[] = "xdg-open";
    char* argv[] = {program, arg.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0)
        return false;
    // xdg-open hands the URL on and returns quickly; reap it so no zombie is left.
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}
