// The list of kept runs: each file's head and tail, read within bounds, and its line.
#include "replay/run_list.h"

#include "replay/run_folder.h"
#include "replay/shown_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstring>
#include <ctime>
#include <string_view>

namespace {

// Bytes read from each end: the `# kept` line comes before the settings, the summary last.
constexpr size_t kHeadBytes = 512;
constexpr size_t kTailBytes = 256;
// The longest path shown whole.
constexpr size_t kShownPathLimit = 4096;

std::string ReadAt(int fd, off_t offset, size_t size) {
    std::string bytes(size, '\0');
    const ssize_t got = pread(fd, bytes.data(), size, offset);
    bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return bytes;
}

// The rest of the line that starts with `start` in `text`, or empty.
std::string_view LineAfter(std::string_view text, std::string_view start) {
    size_t at = text.rfind("\n" + std::string(start));
    if (at == std::string_view::npos)
        return {};
    at += 1 + start.size();
    const size_t end = text.find('\n', at);
    return end == std::string_view::npos ? std::string_view{} : text.substr(at, end - at);
}

template <typename Number> std::optional<Number> Whole(std::string_view& text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || value < 0)
        return std::nullopt;
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    return value;
}

bool Skip(std::string_view& text, std::string_view word) {
    if (!text.starts_with(word))
        return false;
    text.remove_prefix(word.size());
    return true;
}

// "2026-12-08T09:03:12Z"
std::optional<long long> Started(std::string_view text) {
    std::tm utc{};
    const std::string copy(text);
    const char* end = strptime(copy.c_str(), "%Y-%m-%dT%H:%M:%SZ", &utc);
    if (!end || *end != '\0')
        return std::nullopt;
    return static_cast<long long>(timegm(&utc));
}

// "1234 level 3 updates 5400", after "# score "
void ReadSummary(std::string_view text, KeptRunSummary& summary) {
    std::optional<int> score, level;
    std::optional<long long> updates;
    if (!(score = Whole<int>(text)) || !Skip(text, " level ") || !(level = Whole<int>(text)) ||
        !Skip(text, " updates ") || !(updates = Whole<long long>(text)) || !text.empty())
        return;
    summary.score = score;
    summary.level = level;
    summary.updates = updates;
}

template <typename Number> std::string Shown(const std::optional<Number>& value) {
    return value ? std::to_string(*value) : "?";
}

std::string LocalTime(const std::optional<long long>& started) {
    if (!started)
        return "?";
    const auto when = static_cast<std::time_t>(*started);
    std::tm local{};
    char text[32];
    if (!localtime_r(&when, &local) || !std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local))
        return "?";
    return text;
}

// m:ss of game time at 60 updates a second.
std::string Length(const std::optional<long long>& updates) {
    if (!updates)
        return "?";
    const long long seconds = *updates / 60;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

} // namespace

KeptRunSummary ReadKeptRunSummary(const std::string& path) {
    KeptRunSummary summary;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return summary;
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        const std::string head = ReadAt(fd, 0, kHeadBytes);
        summary.started = Started(LineAfter(head, "# kept "));
        const off_t tail = std::max<off_t>(status.st_size - static_cast<off_t>(kTailBytes), 0);
        ReadSummary(LineAfter("\n" + ReadAt(fd, tail, kTailBytes), "# score "), summary);
    }
    close(fd);
    return summary;
}

std::string KeptRunLine(const KeptRunSummary& summary, const std::string& path) {
    char line[160];
    std::snprintf(line, sizeof line, "%-16s  score %s  level %s  %5s  ",
                  LocalTime(summary.started).c_str(), Shown(summary.score).c_str(),
                  Shown(summary.level).c_str(), Length(summary.updates).c_str());
    return line + ShownText(path, kShownPathLimit);
}

int ListKeptRuns(const std::string& folder, std::FILE* out) {
    const std::vector<std::string> runs = KeptRuns(folder);
    if (runs.empty() && folder.empty())
        std::fputs("No kept runs: there is no folder for them (HOME is not set).\n", out);
    else if (runs.empty())
        std::fprintf(out, "No kept runs in '%s'.\n", ShownText(folder, kShownPathLimit).c_str());
    for (const std::string& run : runs) {
        const std::string path = folder + "/" + run;
        std::fprintf(out, "%s\n", KeptRunLine(ReadKeptRunSummary(path), path).c_str());
    }
    return 0;
}
