// The state file, replaced whole through a temporary file so that a failed save loses nothing.
// Where that cannot be done, the save still keeps whatever a plain write of the file would.
#include "files/state_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

const char16_t* const bb_files_stateFileName = u"./.zibbetstate";

namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows before it gives up on a path.
constexpr int kMostLinks = 40;
// Names tried for the temporary file before giving up on one.
constexpr int kTemporaryNames = 100;

// Writes everything it can from the start of the file; the count of bytes written.
size_t WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = pwrite(fd, bytes.data() + done, bytes.size() - done, off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

// The file a write to `name` really reaches: a symbolic link is followed to its final target
// (which need not exist yet), so that the link itself stays in place. Empty for a loop of links.
std::string FinalTarget(const std::string& name) {
    fs::path path = name;
    std::error_code error;
    for (int hops = 0; hops < kMostLinks; ++hops) {
        if (!fs::is_symlink(fs::symlink_status(path, error)))
            return path.string();
        const fs::path next = fs::read_symlink(path, error);
        if (error)
            return path.string();
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return std::string();
}

// A new, empty file beside `target` with a name of its own in `temp`. It is created as a plain
// write would create the file (0666 under the umask), then given the mode of the file it is to
// replace, if there is one. -1 when the folder takes no new file.
int CreateTemporary(const std::string& target, std::string& temp) {
    for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
        temp = target + "." + std::to_string(getpid()) + "." + std::to_string(attempt);
        const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        struct stat info {};
        if (fd >= 0 && stat(target.c_str(), &info) == 0)
            fchmod(fd, info.st_mode & 07777);
        return fd;
    }
    return -1;
}

// 0, or -2 when fewer bytes reached the disk than were given.
int WriteAndClose(int fd, std::string_view bytes) {
    bool complete = WriteAll(fd, bytes) == bytes.size();
    complete = complete && ftruncate(fd, off_t(bytes.size())) == 0;
    complete = complete && fsync(fd) == 0;
    complete = close(fd) == 0 && complete;
    return complete ? 0 : -2;
}

// The fallback for a folder that takes no new file but holds a writable one: the file is
// overwritten where it stands, and cut to the new length only after the new bytes are in.
int WriteInPlace(const std::string& target, std::string_view bytes) {
    const int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    return WriteAndClose(fd, bytes);
}

} // namespace

String bb_files_XdgFolder(const char* xdgHome, const char* home, const char16_t* homeDefault) {
    if (xdgHome && xdgHome[0] == '/')
        return bb_str(xdgHome) + u"/skiddlewick";
    if (home && home[0] == '/')
        return bb_str(home) + u"/" + homeDefault + u"/skiddlewick";
    return String();
}

String bb_files_ConfigFolder(const char* xdgConfigHome, const char* home) {
    return bb_files_XdgFolder(xdgConfigHome, home, u".config");
}

String bb_files_ConfigFolder() {
    return bb_files_ConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

String bb_files_StateFolder() {
    return bb_files_XdgFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"), u".local/state");
}

String bb_files_StateFileName() {
    const String folder = bb_files_ConfigFolder();
    return folder.empty() ? String(bb_files_stateFileName) : folder + u"/.zibbetstate";
}

bool bb_files_Exists(const String& fileName) {
    struct stat info {};
    return lstat(bb_utf8_Encode(fileName).c_str(), &info) == 0;
}

bool bb_files_MakeFolders(const String& folder) {
    std::error_code error;
    fs::path made;
    for (const fs::path& part : fs::path(bb_utf8_Encode(folder))) {
        made /= part;
        // A page's file system answers a mkdir of its root with EINVAL, not EEXIST: a folder
        // that is there already is as good as made.
        if (mkdir(made.c_str(), 0700) != 0 && errno != EEXIST && !fs::is_directory(made, error))
            return false;
    }
    return fs::is_directory(made, error);
}

bool bb_files_IsReadableStateFile(const String& fileName) {
    struct stat info {};
    if (stat(bb_utf8_Encode(fileName).c_str(), &info) != 0)
        return false;
    return S_ISREG(info.st_mode) && info.st_size <= bb_files_largestStateFile;
}

int bb_files_ReplaceFile(const String& fileName, std::string_view bytes) {
    const std::string name = bb_utf8_Encode(fileName);
    if (name.empty())
        return -1;
    const std::string target = FinalTarget(name);
    if (target.empty())
        return -1;
    // Beside the target, so that the rename stays within one file system.
    std::string temp;
    const int fd = CreateTemporary(target, temp);
    if (fd < 0)
        return WriteInPlace(target, bytes);
    if (WriteAndClose(fd, bytes) != 0) {
        unlink(temp.c_str());
        return -2;
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        // A sticky folder, say, may refuse the rename and still let the file be written.
        unlink(temp.c_str());
        return WriteInPlace(target, bytes);
    }
    return 0;
}
