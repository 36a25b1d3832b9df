// The script's bytes: the file's type and size looked at before anything is read, and every read
// stopped one byte past the limit.
#include "replay/replay_file.h"

#include "replay/shown_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// A path as messages show it; "-" is standard input.
std::string Quoted(const std::string& name) {
    return name == "-" ? "standard input" : "'" + ShownText(name) + "'";
}

std::string TooLarge(const std::string& name) {
    return Quoted(name) + " is larger than " + std::to_string(kReplayFileLimit >> 20) +
           " MiB, the most a script may be";
}

} // namespace

ReplayFileText ReadReplayStream(int fd, const std::string& name, size_t expected) {
    std::string text;
    text.reserve(expected);
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {std::nullopt, "cannot read " + Quoted(name) + ": " + std::strerror(errno)};
        if (got == 0)
            return {std::move(text), {}};
        if (text.size() + static_cast<size_t>(got) > kReplayFileLimit)
            return {std::nullopt, TooLarge(name)};
        text.append(buffer, static_cast<size_t>(got));
    }
}

ReplayFileText ReadReplayFile(const std::string& path) {
    // Not blocking: opening a named pipe would otherwise wait for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {std::nullopt, "cannot read " + Quoted(path) + ": " + std::strerror(errno)};
    struct stat status {};
    ReplayFileText result;
    if (fstat(fd, &status) != 0)
        result.error = "cannot read " + Quoted(path) + ": " + std::strerror(errno);
    else if (!S_ISREG(status.st_mode))
        result.error = Quoted(path) + " is not a regular file";
    else if (static_cast<unsigned long long>(status.st_size) > kReplayFileLimit)
        result.error = TooLarge(path);
    else
        result = ReadReplayStream(fd, path, static_cast<size_t>(status.st_size));
    close(fd);
    return result;
}

ReplayParseResult ParseReplayFile(ReplayFileText file, const std::string& name) {
    if (!file.text)
        return {std::nullopt, file.error};
    ReplayParseResult parsed = ParseReplayScript(std::move(*file.text));
    if (parsed.overLimit)
        parsed.error = Quoted(name) + ": " + parsed.error;
    return parsed;
}
