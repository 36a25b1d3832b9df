// Runs a piece of code in a child process and reports what it printed on standard output and
// how it ended, for checking the program's fatal paths.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

struct ChildOutcome {
    std::string output;  // everything the child wrote to standard output
    int exitStatus = -1; // its exit status (0..255), or -1 when it did not exit normally
};

template <class Body> ChildOutcome RunInChild(Body body) {
    std::fflush(stdout);
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], STDOUT_FILENO);
        body();
        std::fflush(stdout);
        _exit(0);
    }
    close(fds[1]);
    ChildOutcome outcome;
    char chunk[4096];
    for (ssize_t n; (n = read(fds[0], chunk, sizeof chunk)) > 0;)
        outcome.output.append(chunk, n);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        outcome.exitStatus = WEXITSTATUS(status);
    return outcome;
}
