#include "SyncedAppend.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool Fail(const std::string& path, std::string& error) {
    error = path + ": " + std::strerror(errno);
    return false;
}

// A file made by this append has its name synced too: its folder's entry is on the disk.
bool SyncFolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return synced;
}

}  // namespace

bool AppendSynced(const std::string& path, const std::string& text, std::string& error) {
    const bool made = !RegularFileExists(path);
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0) {
        return Fail(path, error);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = path + ": not a regular file";
        return false;
    }
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int cause = errno;
            ::close(fd);
            errno = cause;
            return Fail(path, error);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        const int cause = errno;
        ::close(fd);
        errno = cause;
        return Fail(path, error);
    }
    if (::close(fd) != 0 || (made && !SyncFolderOf(path))) {
        return Fail(path, error);
    }
    return true;
}

bool RegularFileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}
