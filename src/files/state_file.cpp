// The state file, replaced whole through a temporary file so that a failed save loses nothing.
#include "files/state_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

const char16_t* const bb_files_stateFileName = u"./.zibbetstate";

namespace {

// Writes everything it can; the count of bytes written.
size_t WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

// The permissions of the file being replaced, or the usual ones for a new file.
mode_t ReplacementMode(const std::string& target) {
    struct stat info {};
    if (stat(target.c_str(), &info) == 0)
        return info.st_mode & 07777;
    return 0644;
}

} // namespace

bool bb_files_IsReadableStateFile(const String& fileName) {
    struct stat info {};
    if (stat(bb_utf8_Encode(fileName).c_str(), &info) != 0)
        return false;
    return S_ISREG(info.st_mode) && info.st_size <= bb_files_largestStateFile;
}

int bb_files_ReplaceFile(const String& fileName, std::string_view bytes) {
    const std::string target = bb_utf8_Encode(fileName);
    if (target.empty())
        return -1;
    // Beside the target, so that the rename stays within one file system.
    std::string temp = target + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0)
        return -1;
    fchmod(fd, ReplacementMode(target));
    bool complete = WriteAll(fd, bytes) == bytes.size();
    complete = complete && fsync(fd) == 0;
    complete = close(fd) == 0 && complete;
    if (!complete) {
        unlink(temp.c_str());
        return -2;
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        unlink(temp.c_str());
        return -1;
    }
    return 0;
}
