// Test helpers that run code or a program in a child process and collect what it printed on
// standard output and how it ended, so fatal paths can be checked without ending the test.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

struct ChildResult {
    std::string out;
    // The exit status, or -1 when the child was ended by a signal (then `signal` says which).
    int status = -1;
    int signal = 0;
    bool timedOut = false;
};

namespace child_process_detail {

inline double Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

// Reads the child's output until it closes the pipe or the time runs out, then reaps it.
inline ChildResult Collect(pid_t pid, int fd, double timeoutSeconds) {
    ChildResult result;
    const double deadline = Now() + timeoutSeconds;
    char buffer[4096];
    for (;;) {
        double left = deadline - Now();
        if (left <= 0) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        pollfd p{fd, POLLIN, 0};
        int ready = poll(&p, 1, static_cast<int>(left * 1000) + 1);
        if (ready < 0)
            continue;
        if (ready == 0)
            continue;
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        result.out.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}

} // namespace child_process_detail

// Runs `body` in a forked child with its standard output captured; the child ends with status 0
// if `body` returns.
inline ChildResult RunInChild(const std::function<void()>& body, double timeoutSeconds = 30) {
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], STDOUT_FILENO);
        close(fds[1]);
        body();
        fflush(nullptr);
        _exit(0);
    }
    close(fds[1]);
    return child_process_detail::Collect(pid, fds[0], timeoutSeconds);
}

// Starts a program with the given arguments and environment changes ("NAME=value" sets, "NAME"
// alone removes), optionally in another working folder, and waits for it with output captured.
struct ProgramRun {
    std::vector<std::string> args;
    std::vector<std::string> env;
    std::string cwd;
};

inline pid_t StartProgram(const ProgramRun& run, int* outFd) {
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e)
        envStrings.emplace_back(*e);
    for (const std::string& change : run.env) {
        std::string name = change.substr(0, change.find('='));
        std::erase_if(envStrings,
                      [&](const std::string& s) { return s.rfind(name + "=", 0) == 0; });
        if (change.find('=') != std::string::npos)
            envStrings.push_back(change);
    }
    std::vector<char*> argv, envp;
    std::vector<std::string> args = run.args;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (std::string& e : envStrings)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        dup2(fds[1], STDERR_FILENO);
        close(fds[0]);
        close(fds[1]);
        if (!run.cwd.empty() && chdir(run.cwd.c_str()) != 0)
            _exit(127);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(fds[1]);
    *outFd = fds[0];
    return pid;
}

inline ChildResult RunProgram(const ProgramRun& run, double timeoutSeconds = 30) {
    int fd = -1;
    pid_t pid = StartProgram(run, &fd);
    if (pid < 0)
        return {};
    return child_process_detail::Collect(pid, fd, timeoutSeconds);
}

inline ChildResult WaitProgram(pid_t pid, int fd, double timeoutSeconds = 30) {
    return child_process_detail::Collect(pid, fd, timeoutSeconds);
}
