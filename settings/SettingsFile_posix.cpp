#include "SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

std::string Reason() {
    return std::strerror(errno);
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A link is followed, so the file it names is replaced and the link stays.
std::optional<std::string> ResolveTarget(const std::string& path, mode_t& mode,
                                         std::string& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            error = "Cannot write " + path + ": " + Reason() + ".";
            return std::nullopt;
        }
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
        return path;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "Cannot write " + path + ": it is not a regular file.";
        return std::nullopt;
    }
    mode = info.st_mode & 07777;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        error = "Cannot write " + path + ": " + Reason() + ".";
        return std::nullopt;
    }
    return std::string(resolved);
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The folder's entry for the new file is on the disk only once the folder is synced too.
bool SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return synced;
}

}  // namespace

bool WriteFileSafely(const std::string& path, const std::string& text, std::string& error) {
    mode_t mode = 0;
    const auto target = ResolveTarget(path, mode, error);
    if (!target) {
        return false;
    }
    std::string temporary = FolderOf(*target) + "/.tq20-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "Cannot write " + path + ": " + Reason() + ".";
        return false;
    }
    const bool written = WriteAll(fd, text) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const std::string why = written ? std::string() : Reason();
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), target->c_str()) != 0) {
        error = "Cannot write " + path + ": " + (why.empty() ? Reason() : why) +
                ". The file is as it was.";
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(FolderOf(*target));
    return true;
}

std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t limit,
                                         std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = "Cannot read " + path + ": " + Reason() + ".";
        return std::nullopt;
    }
    struct stat info {};
    std::optional<std::string> text;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "Cannot read " + path + ": it is not a regular file.";
    } else if (static_cast<std::size_t>(info.st_size) > limit) {
        error = "Cannot read " + path + ": it is larger than " + std::to_string(limit) +
                " bytes, too large for saved settings.";
    } else {
        text.emplace(static_cast<std::size_t>(info.st_size), '\0');
        const ssize_t got = ::read(fd, text->data(), text->size());
        if (got < 0) {
            error = "Cannot read " + path + ": " + Reason() + ".";
            text.reset();
        } else {
            text->resize(static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    return text;
}

bool AppendSynced(const std::string& path, const std::string& text, std::string& error) {
    const bool made = !RegularFileExists(path);
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0) {
        error = "Cannot write " + path + ": " + Reason() + ".";
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = "Cannot write " + path + ": it is not a regular file.";
        return false;
    }
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const std::string why = written ? std::string() : Reason();
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || (made && !SyncFolder(FolderOf(path)))) {
        error = "Cannot write " + path + ": " + (why.empty() ? Reason() : why) + ".";
        return false;
    }
    return true;
}

bool RegularFileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}
