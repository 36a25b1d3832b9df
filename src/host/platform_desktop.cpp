// The desktop's side of the platform seam: /proc for the program folder, real sleeps, detached
// threads, the state file in the config folder replaced whole on disk, and xdg-open.
#include "host/platform.h"

#include "files/file_access.h"
#include "files/state_file.h"

#include <chrono>
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <system_error>
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

bool bb_platform_StartDetached(std::function<void()> body) {
    try {
        std::thread(std::move(body)).detach();
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

bool bb_platform_RunsBeside() {
    return true;
}

void bb_platform_RunWaitingBodies() {}

std::string bb_platform_ReadState(const String& fileName) {
    std::string bytes;
    if (!bb_files_IsReadableStateFile(fileName))
        return bytes;
    if (FILE* file = bb_files_Open(fileName, u"rb")) {
        bb_files_ReadAll(file, bytes);
        std::fclose(file);
    }
    return bytes;
}

String bb_platform_StateFileName() {
    return bb_files_StateFileName();
}

int bb_platform_WriteState(const String& fileName, std::string_view bytes) {
    // The config folder is made by the first save, not by merely playing.
    const size_t slash = fileName.rfind(u'/');
    if (slash != String::npos && slash > 0 && !bb_files_MakeFolders(fileName.substr(0, slash)))
        return -1;
    return bb_files_ReplaceFile(fileName, bytes);
}

String bb_platform_SoundFile(const String& path) {
    // The data folder holds every sound under the name the game asks for.
    return path;
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

String bb_platform_RunsFolder() {
    const String folder = bb_files_StateFolder();
    return folder.empty() ? folder : folder + u"/runs";
}

void bb_platform_RunKept(const std::string&, bool, int, int, long long) {
    // The file itself is the kept run: nothing to hand on.
}
