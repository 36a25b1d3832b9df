// The real program under a private Xvfb, driven with xdotool.
#include "hardening/program_support.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

void Pause(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// A display number with neither a socket nor a lock file; each call starts further on, so that
// two threads looking at once choose different numbers.
int FreeDisplayNumber() {
    static std::atomic<int> calls{0};
    for (int n = 70 + getpid() % 200 + 7 * calls++;; ++n) {
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
        const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
        if (!std::filesystem::exists(socket) && !std::filesystem::exists(lock))
            return n;
    }
}

} // namespace

PrivateDisplay::PrivateDisplay() {
    for (int attempt = 0; attempt < 5 && !ready_; ++attempt) {
        name_ = ":" + std::to_string(FreeDisplayNumber());
        int out = -1;
        pid_ = StartProgram({{"/usr/bin/Xvfb", name_, "-screen", "0", "1280x1024x24", "-nolisten",
                              "tcp", "-noreset"},
                             {},
                             ""},
                            &out);
        close(out);
        for (int i = 0; i < 100 && !ready_; ++i) {
            Pause(0.05);
            // Our own server, not one that already had the number.
            ready_ = waitpid(pid_, nullptr, WNOHANG) == 0 && !Xdotool("getdisplaygeometry").empty();
        }
        if (!ready_ && pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
}

PrivateDisplay::~PrivateDisplay() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

std::string PrivateDisplay::Xdotool(const std::string& arguments) const {
    return Run("xdotool " + arguments);
}

std::string PrivateDisplay::Run(const std::string& commandLine) const {
    // At most 30 seconds: a tool can wait for ever on a window that has gone.
    const std::string command =
        "DISPLAY=" + name_ + " timeout -k 5 30 " + commandLine + " 2>/dev/null";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        pclose(pipe);
    }
    return output;
}

GameProcess::GameProcess(const PrivateDisplay& display, const std::string& workingFolder,
                         bool withoutFileAccessOverride)
    : display_(display) {
    std::vector<std::string> args;
    if (withoutFileAccessOverride && geteuid() == 0)
        args = {"/usr/bin/setpriv", "--bounding-set=-dac_override,-dac_read_search,-fowner", "--"};
    args.push_back(SKIDDLEWICK_BINARY);
    pid_ = StartProgram({args, {"DISPLAY=" + display.name(), "ALSOFT_DRIVERS=null"}, workingFolder},
                        &out_);
}

GameProcess::~GameProcess() {
    if (!waited_)
        Wait(0);
}

bool GameProcess::AwaitWindow(double seconds) {
    const std::string search =
        "search --onlyvisible --pid " + std::to_string(pid_) + " --name '^Skiddlewick$'";
    for (double waited = 0; waited < seconds && Running(); waited += 0.1) {
        const std::string found = display_.Xdotool(search);
        if (!found.empty()) {
            window_ = found.substr(0, found.find('\n'));
            return true;
        }
        Pause(0.1);
    }
    return false;
}

bool GameProcess::Running() {
    if (pid_ <= 0 || waited_)
        return false;
    // Looks without reaping, so that Wait still collects the exit status.
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

// The play area at 640 x 480: the title's menu bar and the options screen's heading bar.
bool GameProcess::AwaitTitle(double seconds) {
    return AwaitRegion("160x16+240+16", "mean.b>0.5 && mean.r<0.3", seconds);
}

bool GameProcess::AwaitOptions(double seconds) {
    return AwaitRegion("160x12+240+66", "mean.r>0.5 && mean.b<0.3", seconds);
}

bool GameProcess::AwaitRegion(const std::string& geometry, const std::string& condition,
                              double seconds) {
    const std::string command = "import -window " + window_ + " -crop " + geometry +
                                " +repage -format '%[fx:" + condition + "]' info:";
    for (double waited = 0; waited < seconds && Running(); waited += 0.2) {
        if (display_.Run(command) == "1")
            return true;
        Pause(0.2);
    }
    return false;
}

void GameProcess::Keys(const std::string& keys) {
    display_.Xdotool("windowfocus --sync " + window_);
    display_.Xdotool("key --delay 120 " + keys);
}

ChildResult GameProcess::Wait(double seconds) {
    waited_ = true;
    if (pid_ <= 0)
        return {};
    return WaitProgram(pid_, out_, seconds);
}
