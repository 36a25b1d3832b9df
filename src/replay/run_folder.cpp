// The kept runs' names, and the folder's listing, new files and pruning.
#include "replay/run_folder.h"

#include "files/state_file.h"
#include "runtime/string.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>

namespace {

constexpr std::string_view kSuffix = ".replay";
// "YYYYMMDD-HHMMSS"
constexpr size_t kStampLength = 15;
// A clash past this many games in one second is not worth a name.
constexpr int kMostCopies = 9999;

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The copy number of a kept run's name: 1 without "-N".
int CopyOf(std::string_view name) {
    const std::string_view rest =
        name.substr(kStampLength, name.size() - kStampLength - kSuffix.size());
    int copy = 1;
    if (!rest.empty())
        std::from_chars(rest.data() + 1, rest.data() + rest.size(), copy);
    return copy;
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

std::string KeptRunName(std::time_t when, int copy) {
    std::tm utc{};
    gmtime_r(&when, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
    std::string name = stamp;
    if (copy > 1)
        name += "-" + std::to_string(copy);
    return name + std::string(kSuffix);
}

bool IsKeptRunName(std::string_view name) {
    if (name.size() < kStampLength + kSuffix.size() || !name.ends_with(kSuffix))
        return false;
    const std::string_view stamp = name.substr(0, kStampLength);
    if (!AllDigits(stamp.substr(0, 8)) || stamp[8] != '-' || !AllDigits(stamp.substr(9)))
        return false;
    const std::string_view copy =
        name.substr(kStampLength, name.size() - kStampLength - kSuffix.size());
    return copy.empty() ||
           (copy.size() <= 5 && copy[0] == '-' && AllDigits(copy.substr(1)) && copy[1] != '0');
}

bool KeptRunNewer(std::string_view a, std::string_view b) {
    const std::string_view stampA = a.substr(0, kStampLength), stampB = b.substr(0, kStampLength);
    if (stampA != stampB)
        return stampA > stampB;
    return CopyOf(a) > CopyOf(b);
}

std::vector<std::string> KeptRuns(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (IsKeptRunName(name) && IsRegularFile(folder + "/" + name))
            names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end(), KeptRunNewer);
    return names;
}

int CreateKeptRun(const std::string& folder, std::time_t when, std::string& path) {
    if (folder.empty()) {
        errno = ENOENT;
        return -1;
    }
    if (!bb_files_MakeFolders(bb_str(folder)))
        return -1;
    for (int copy = 1; copy <= kMostCopies; ++copy) {
        path = folder + "/" + KeptRunName(when, copy);
        const int fd =
            open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void PruneKeptRuns(const std::string& folder, int keep) {
    const std::vector<std::string> names = KeptRuns(folder);
    for (size_t index = static_cast<size_t>(std::max(keep, 0)); index < names.size(); ++index)
        unlink((folder + "/" + names[index]).c_str());
}
